#pragma once
// The Logger Configuration: one logger set-up as the packed 781-byte record
// that is also the .SET file. The record is held as its raw image, and every
// field is read and written at its offset, so bytes this program does not
// interpret (the reserved areas, bytes after a string's text) travel through
// load, edit, save and send unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "common/result.h"
#include "setup/day_number.h"

namespace brevik::setup {

inline constexpr std::size_t kConfigurationSize = 781;
inline constexpr int kChannelCount = 4;

// Field offsets and capacities of the record.
namespace config_layout {
inline constexpr std::size_t kRateCode = 0;
inline constexpr std::size_t kModeByte = 1;
inline constexpr std::size_t kChannelOn = 2;               // 4 x 1
inline constexpr std::size_t kSessionDescription = 6;      // string[31]
inline constexpr std::size_t kSessionDescriptionWidth = 31;
inline constexpr std::size_t kChannelDescription = 38;     // 4 x string[24]
inline constexpr std::size_t kChannelDescriptionWidth = 24;
inline constexpr std::size_t kStartDate = 138;             // u32
inline constexpr std::size_t kStartTime = 142;             // u32
inline constexpr std::size_t kScaleCode = 146;             // 4 x 1
inline constexpr std::size_t kInputModes = 150;            // u16
inline constexpr std::size_t kTableName = 152;             // 4 x string[8]
inline constexpr std::size_t kTableNameWidth = 8;
inline constexpr std::size_t kScaleText = 188;             // 4 x string[12]
inline constexpr std::size_t kScaleTextWidth = 12;
inline constexpr std::size_t kReservedBegin = 240;         // 240-775, carried unread
inline constexpr std::size_t kReservedEnd = 776;
inline constexpr std::size_t kDialOutWeekday = 776;
inline constexpr std::size_t kDialOutMonthday = 777;
inline constexpr std::size_t kDialOutKind = 778;
inline constexpr std::size_t kStartToday = 779;
inline constexpr std::size_t kResolution = 780;
}  // namespace config_layout

// `DialOutKind` values.
inline constexpr std::uint8_t kDialOutNone = 0;
inline constexpr char kDialOutDaily = 'c';
inline constexpr char kDialOutWeekly = 'b';
inline constexpr char kDialOutMonthly = 'a';

// `Resolution` values (note: the reverse order of the status resolution codes).
inline constexpr std::uint8_t kResolutionNotApplicable = 0;
inline constexpr std::uint8_t kResolution12Bit = 1;
inline constexpr std::uint8_t kResolution10Bit = 2;
inline constexpr std::uint8_t kResolution8Bit = 3;

class LoggerConfiguration {
 public:
  using Image = std::array<std::uint8_t, kConfigurationSize>;

  // All bytes zero.
  LoggerConfiguration();

  // The program's own set-up for a logger nobody configured yet, dated today.
  static LoggerConfiguration builtInDefault(const Clock& clock);

  // The record from its first 781 bytes; extra bytes are ignored. Fails
  // (InvalidData) when fewer bytes are given.
  static Result<LoggerConfiguration> fromBytes(std::string_view bytes);

  const Image& image() const { return image_; }
  // The 781 bytes as a string, ready to be written.
  std::string toBytes() const;

  // Channels are numbered 1-4; a number outside reads as zero/empty and is
  // ignored when written.

  char rateCode() const;
  void setRateCode(char code);

  std::uint8_t modeByte() const;
  void setModeByte(std::uint8_t mode);
  int stopMode() const;   // bits 0-2
  int startMode() const;  // bits 3-5
  // ModeByte := stop + 8 x start (each kept to its three bits).
  void setModes(int startMode, int stopMode);

  bool channelOn(int channel) const;  // the stored byte is 1
  std::uint8_t channelOnByte(int channel) const;
  void setChannelOn(int channel, bool on);
  int channelsOnCount() const;

  // Stored text, padding included; see trimmed accessors below.
  std::string sessionDescription() const;
  // Cut to 31 and padded with blanks to 31.
  void setSessionDescription(std::string_view text);

  std::string channelDescription(int channel) const;
  // Cut to 24 and padded with blanks to 24.
  void setChannelDescription(int channel, std::string_view text);

  std::uint32_t startDate() const;  // day number; kInvalidDayNumber = no date
  void setStartDate(std::uint32_t dayNumber);
  std::optional<CalendarDate> startCalendarDate() const;

  std::uint32_t startTime() const;  // seconds since midnight
  void setStartTime(std::uint32_t seconds);

  char scaleCode(int channel) const;
  void setScaleCode(int channel, char code);

  std::uint16_t inputModes() const;
  void setInputModes(std::uint16_t word);

  std::string tableName(int channel) const;
  void setTableName(int channel, std::string_view name);  // cut to 8

  std::string scaleText(int channel) const;
  void setScaleText(int channel, std::string_view text);  // cut to 12

  std::uint8_t dialOutWeekday() const;  // 1 = Sunday ... 7 = Saturday
  void setDialOutWeekday(std::uint8_t day);
  std::uint8_t dialOutMonthday() const;  // 1-31
  void setDialOutMonthday(std::uint8_t day);
  std::uint8_t dialOutKind() const;  // kDialOutNone, 'a', 'b', 'c'
  void setDialOutKind(std::uint8_t kind);
  bool startToday() const;
  std::uint8_t startTodayByte() const;
  void setStartToday(bool today);
  std::uint8_t resolution() const;
  void setResolution(std::uint8_t resolution);

  friend bool operator==(const LoggerConfiguration&, const LoggerConfiguration&) = default;

 private:
  static bool validChannel(int channel) { return channel >= 1 && channel <= kChannelCount; }
  std::uint8_t* at(std::size_t offset) { return image_.data() + offset; }
  const std::uint8_t* at(std::size_t offset) const { return image_.data() + offset; }

  Image image_{};
};

// Seconds since midnight of a time of day.
std::uint32_t secondsSinceMidnight(const DateTime& t);

}  // namespace brevik::setup
