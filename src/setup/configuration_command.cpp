#include "setup/configuration_command.h"

#include <cstdio>
#include <tuple>

#include "protocol/vocabulary.h"
#include "setup/start_texts.h"

namespace brevik::setup {

using setup::LoggerConfiguration;

namespace {

std::string twoDigits(int value) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", ((value % 100) + 100) % 100);
  return buf;
}

char weekdayDigit(int weekday) { return static_cast<char>('1' + weekday); }

// The wire ends a message at CR; a control character inside a stored text
// (a damaged setup file) would cut the message short or confuse the logger.
std::string wireText(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return text;
}

char sentTypeCode(const LoggerConfiguration& config, int channel, bool oldFirmware) {
  const char code = config.scaleCode(channel);
  if (oldFirmware && code == '1') {
    // Old firmware knows its tables by one digit, carried in the code itself.
    const std::string name = config.tableName(channel);
    return name.empty() ? '1' : name[0];
  }
  return code;
}

std::string_view resolutionSuffix(std::uint8_t resolution) {
  switch (resolution) {
    case setup::kResolution12Bit: return " C";
    case setup::kResolution10Bit: return " B";
    case setup::kResolution8Bit: return " A";
    default: return "";
  }
}

}  // namespace

char modeCharacter(std::uint8_t modeByte) {
  const int start = (modeByte >> 3) & 7;
  const int stop = modeByte & 7;
  unsigned c = 64;
  if (start == 1) c = 64 | kModeStopped | kModeWaitingForTime;
  else if (start == 2) c = 64 | kModeWaitingForTrigger;
  if (stop == 1) c |= kModeRing;
  else if (stop == 2) c |= kModeRing | kModeStopOnChannel1;
  return static_cast<char>(c);
}

bool presetStartPassed(const LoggerConfiguration& config, const DateTime& now) {
  const DateTime start = setup::presetStartMoment(config, now);
  return std::tie(start.year, start.month, start.day, start.hour, start.minute, start.second) <
         std::tie(now.year, now.month, now.day, now.hour, now.minute, now.second);
}

std::string clockField(const DateTime& now) {
  return twoDigits(now.second) + twoDigits(now.minute) + twoDigits(now.hour) + twoDigits(now.day) +
         twoDigits(now.month) + weekdayDigit(weekdayOf(now.year, now.month, now.day)) + twoDigits(now.year);
}

std::string startField(const LoggerConfiguration& config, const DateTime& now) {
  const DateTime start = setup::presetStartMoment(config, now);
  const std::uint8_t kind = config.dialOutKind();
  int day = start.day;
  char dow = weekdayDigit(start.weekday);
  std::string year = twoDigits(start.year);
  if (kind == setup::kDialOutMonthly) {
    if (config.dialOutMonthday() >= 1 && config.dialOutMonthday() <= 31) day = config.dialOutMonthday();
    year = "97";
  } else if (kind == setup::kDialOutWeekly) {
    if (config.dialOutWeekday() >= 1 && config.dialOutWeekday() <= 7)
      dow = static_cast<char>('0' + config.dialOutWeekday());
    year = "98";
  } else if (kind == setup::kDialOutDaily) {
    year = "99";
  }
  return "00" + twoDigits(start.minute) + twoDigits(start.hour) + twoDigits(day) + twoDigits(start.month) + dow +
         year;
}

char channelCharacter(const LoggerConfiguration& config) {
  unsigned c = 64;
  for (int ch = 1; ch <= setup::kChannelCount; ++ch)
    if (config.channelOn(ch)) c |= 1u << (ch - 1);
  if (protocol::byteOf(modeCharacter(config.modeByte())) & kModeStopOnChannel1) c |= 32u;
  return static_cast<char>(c);
}

char sentModeCharacter(const LoggerConfiguration& config, const DateTime& now) {
  unsigned c = protocol::byteOf(modeCharacter(config.modeByte()));
  if (config.startMode() == 1 && presetStartPassed(config, now)) c &= ~(kModeStopped | kModeWaitingForTime);
  if (config.channelsOnCount() == 0) c |= kModeStopped;
  return static_cast<char>(c);
}

std::string channelField(const LoggerConfiguration& config, int channel) {
  const char code = config.scaleCode(channel);
  std::string field;
  if (code == '1') field = config.tableName(channel);
  else if (code == '3' || code == 'X') field = config.scaleText(channel);
  else field = std::string(1, code);
  field.resize(12, ' ');
  return wireText(field);
}

std::string scalingNotSupportedText() {
  return "Scaling values are not supported in this Brevik Logger\r"
         "Select a linear table for Channel Scaling. (Table must\r"
         "a single numeric character name.  Example: 3.rvt).\r"
         "A firmware upgrade is available -\r"
         "Contact factory for details.";
}

std::variant<ConfigurationMessages, ConfigurationRefusal> buildConfigurationCommand(
    const LoggerConfiguration& config, const ConfigurationTarget& target, const DateTime& now) {
  if (target.oldFirmware) {
    for (int ch = 1; ch <= setup::kChannelCount; ++ch) {
      const char code = config.scaleCode(ch);
      if (code == '3' || code == 'X')
        return ConfigurationRefusal{RefusalKind::ScalingNotSupported, scalingNotSupportedText()};
    }
  }
  if (!protocol::revisionSupportsRate(target.revision, config.rateCode()))
    return ConfigurationRefusal{RefusalKind::RateNotSupported, std::string(kRateNotSupportedText)};

  std::string header;
  header += target.labelsOnly ? 'K' : protocol::configurationHeaderCommand(target.revision);
  header += clockField(now);
  header += startField(config, now);
  header += config.rateCode();
  header += channelCharacter(config);
  header += sentModeCharacter(config, now);
  header += wireText(config.sessionDescription());
  for (int ch = 1; ch <= setup::kChannelCount; ++ch) header += sentTypeCode(config, ch, target.oldFirmware);

  ConfigurationMessages out;
  out.messages.push_back(header);
  out.messages.push_back("2" + wireText(config.channelDescription(1) + config.channelDescription(2)));
  out.messages.push_back("3" + wireText(config.channelDescription(3) + config.channelDescription(4)));
  if (target.oldFirmware) return out;

  // Modes of channels that are off mean nothing to the logger; they go as 0.
  std::uint16_t modes = config.inputModes();
  for (int ch = 1; ch <= setup::kChannelCount; ++ch)
    if (!config.channelOn(ch)) modes = protocol::withInputMode(modes, ch, 0);
  const auto modeChars = protocol::encodeInputModes(modes);
  std::string fourth = "4";
  for (int ch = 1; ch <= setup::kChannelCount; ++ch) fourth += channelField(config, ch);
  fourth += ' ';
  fourth += modeChars[0];
  fourth += modeChars[1];
  fourth += resolutionSuffix(config.resolution());
  out.messages.push_back(fourth);
  return out;
}

}  // namespace brevik::setup
