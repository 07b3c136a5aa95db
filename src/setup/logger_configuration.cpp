#include "setup/logger_configuration.h"

#include <algorithm>

#include "common/bytes.h"

namespace brevik::setup {

namespace L = config_layout;

namespace {

std::size_t channelField(std::size_t base, std::size_t stride, int channel) {
  return base + stride * static_cast<std::size_t>(channel - 1);
}

constexpr std::size_t kDescriptionStride = L::kChannelDescriptionWidth + 1;
constexpr std::size_t kTableNameStride = L::kTableNameWidth + 1;
constexpr std::size_t kScaleTextStride = L::kScaleTextWidth + 1;

}  // namespace

LoggerConfiguration::LoggerConfiguration() = default;

LoggerConfiguration LoggerConfiguration::builtInDefault(const Clock& clock) {
  const DateTime now = clock.now();
  LoggerConfiguration c;
  c.setRateCode('D');
  c.setModeByte(0);
  c.setSessionDescription("");
  for (int ch = 1; ch <= kChannelCount; ++ch) {
    c.setChannelOn(ch, true);
    c.setChannelDescription(ch, "Channel " + std::to_string(ch));
    c.setScaleCode(ch, 'C');
    c.setTableName(ch, "1.RVT");
    c.setScaleText(ch, "100.000.0000");
  }
  c.setStartDate(dayNumberOf({now.year, now.month, now.day}).value_or(kInvalidDayNumber));
  c.setStartTime(secondsSinceMidnight(now));
  c.setInputModes(0);
  // Reserved areas and the dial-out, start-today and resolution bytes stay zero.
  return c;
}

Result<LoggerConfiguration> LoggerConfiguration::fromBytes(std::string_view bytes) {
  if (bytes.size() < kConfigurationSize)
    return makeError(ErrorKind::InvalidData,
                     "setup record too short: " + std::to_string(bytes.size()) + " of " +
                         std::to_string(kConfigurationSize) + " bytes");
  LoggerConfiguration c;
  std::copy_n(reinterpret_cast<const std::uint8_t*>(bytes.data()), kConfigurationSize, c.image_.begin());
  return c;
}

std::string LoggerConfiguration::toBytes() const {
  return std::string(reinterpret_cast<const char*>(image_.data()), image_.size());
}

char LoggerConfiguration::rateCode() const { return static_cast<char>(image_[L::kRateCode]); }
void LoggerConfiguration::setRateCode(char code) { image_[L::kRateCode] = static_cast<std::uint8_t>(code); }

std::uint8_t LoggerConfiguration::modeByte() const { return image_[L::kModeByte]; }
void LoggerConfiguration::setModeByte(std::uint8_t mode) { image_[L::kModeByte] = mode; }
int LoggerConfiguration::stopMode() const { return modeByte() & 7; }
int LoggerConfiguration::startMode() const { return (modeByte() >> 3) & 7; }
void LoggerConfiguration::setModes(int startMode, int stopMode) {
  setModeByte(static_cast<std::uint8_t>((stopMode & 7) | ((startMode & 7) << 3)));
}

std::uint8_t LoggerConfiguration::channelOnByte(int channel) const {
  return validChannel(channel) ? image_[channelField(L::kChannelOn, 1, channel)] : 0;
}
bool LoggerConfiguration::channelOn(int channel) const { return channelOnByte(channel) == 1; }
void LoggerConfiguration::setChannelOn(int channel, bool on) {
  if (validChannel(channel)) image_[channelField(L::kChannelOn, 1, channel)] = on ? 1 : 0;
}
int LoggerConfiguration::channelsOnCount() const {
  int n = 0;
  for (int ch = 1; ch <= kChannelCount; ++ch) n += channelOn(ch) ? 1 : 0;
  return n;
}

std::string LoggerConfiguration::sessionDescription() const {
  return bytes::pstring(at(0), L::kSessionDescription, L::kSessionDescriptionWidth);
}
void LoggerConfiguration::setSessionDescription(std::string_view text) {
  bytes::putPstring(at(0), L::kSessionDescription, L::kSessionDescriptionWidth,
                    bytes::padded(text, L::kSessionDescriptionWidth));
}

std::string LoggerConfiguration::channelDescription(int channel) const {
  if (!validChannel(channel)) return {};
  return bytes::pstring(at(0), channelField(L::kChannelDescription, kDescriptionStride, channel),
                        L::kChannelDescriptionWidth);
}
void LoggerConfiguration::setChannelDescription(int channel, std::string_view text) {
  if (!validChannel(channel)) return;
  bytes::putPstring(at(0), channelField(L::kChannelDescription, kDescriptionStride, channel),
                    L::kChannelDescriptionWidth, bytes::padded(text, L::kChannelDescriptionWidth));
}

std::uint32_t LoggerConfiguration::startDate() const { return bytes::u32(at(0), L::kStartDate); }
void LoggerConfiguration::setStartDate(std::uint32_t dayNumber) { bytes::putU32(at(0), L::kStartDate, dayNumber); }
std::optional<CalendarDate> LoggerConfiguration::startCalendarDate() const { return dateOfDayNumber(startDate()); }

std::uint32_t LoggerConfiguration::startTime() const { return bytes::u32(at(0), L::kStartTime); }
void LoggerConfiguration::setStartTime(std::uint32_t seconds) { bytes::putU32(at(0), L::kStartTime, seconds); }

char LoggerConfiguration::scaleCode(int channel) const {
  return validChannel(channel) ? static_cast<char>(image_[channelField(L::kScaleCode, 1, channel)]) : '\0';
}
void LoggerConfiguration::setScaleCode(int channel, char code) {
  if (validChannel(channel)) image_[channelField(L::kScaleCode, 1, channel)] = static_cast<std::uint8_t>(code);
}

std::uint16_t LoggerConfiguration::inputModes() const { return bytes::u16(at(0), L::kInputModes); }
void LoggerConfiguration::setInputModes(std::uint16_t word) { bytes::putU16(at(0), L::kInputModes, word); }

std::string LoggerConfiguration::tableName(int channel) const {
  if (!validChannel(channel)) return {};
  return bytes::pstring(at(0), channelField(L::kTableName, kTableNameStride, channel), L::kTableNameWidth);
}
void LoggerConfiguration::setTableName(int channel, std::string_view name) {
  if (!validChannel(channel)) return;
  bytes::putPstring(at(0), channelField(L::kTableName, kTableNameStride, channel), L::kTableNameWidth, name);
}

std::string LoggerConfiguration::scaleText(int channel) const {
  if (!validChannel(channel)) return {};
  return bytes::pstring(at(0), channelField(L::kScaleText, kScaleTextStride, channel), L::kScaleTextWidth);
}
void LoggerConfiguration::setScaleText(int channel, std::string_view text) {
  if (!validChannel(channel)) return;
  bytes::putPstring(at(0), channelField(L::kScaleText, kScaleTextStride, channel), L::kScaleTextWidth, text);
}

std::uint8_t LoggerConfiguration::dialOutWeekday() const { return image_[L::kDialOutWeekday]; }
void LoggerConfiguration::setDialOutWeekday(std::uint8_t day) { image_[L::kDialOutWeekday] = day; }
std::uint8_t LoggerConfiguration::dialOutMonthday() const { return image_[L::kDialOutMonthday]; }
void LoggerConfiguration::setDialOutMonthday(std::uint8_t day) { image_[L::kDialOutMonthday] = day; }
std::uint8_t LoggerConfiguration::dialOutKind() const { return image_[L::kDialOutKind]; }
void LoggerConfiguration::setDialOutKind(std::uint8_t kind) { image_[L::kDialOutKind] = kind; }
std::uint8_t LoggerConfiguration::startTodayByte() const { return image_[L::kStartToday]; }
bool LoggerConfiguration::startToday() const { return startTodayByte() == 1; }
void LoggerConfiguration::setStartToday(bool today) { image_[L::kStartToday] = today ? 1 : 0; }
std::uint8_t LoggerConfiguration::resolution() const { return image_[L::kResolution]; }
void LoggerConfiguration::setResolution(std::uint8_t resolution) { image_[L::kResolution] = resolution; }

std::uint32_t secondsSinceMidnight(const DateTime& t) {
  const int s = t.hour * 3600 + t.minute * 60 + t.second;
  return static_cast<std::uint32_t>(std::clamp(s, 0, 86399));
}

}  // namespace brevik::setup
