#pragma once
// Decoding a logger's status reply into the Logger Status: acceptance,
// fields, resolution, readings and their values, the special cases of old
// loggers and the table loading. A pure function of the reply, the settings
// values it needs, the clock and the table source; the settings it changes
// come back in the result.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "common/result.h"
#include "protocol/channel_tables.h"
#include "protocol/conversions.h"
#include "protocol/logger_status.h"

namespace brevik::protocol {

inline constexpr std::size_t kMinStatusReplyLength = 250;
inline constexpr std::size_t kTwelveBitReplyLength = 254;
// A status reply is one line of a few hundred bytes; a file or input said to
// hold one is read for no more than this.
inline constexpr std::size_t kMaxStatusReplyBytes = 4096;

// The Logger Settings values the decode reads.
struct StatusSettings {
  bool fahrenheit = true;       // FahrenheitUnits
  bool twelveHourClock = true;  // TwelveHourClock
  HumidityMode humidityMode = HumidityMode::RelativeHumidity;
  char lastRevision = 'n';      // LastRevision
};

enum class StatusOutcome {
  Accepted,
  Rejected,     // too short, or a 5th character outside '0'-'2'
  TableFailed,  // a scaling table could not be used: the decode stopped
};

struct StatusDecodeResult {
  StatusOutcome outcome = StatusOutcome::Rejected;
  LoggerStatus status;  // complete when accepted; filled up to the table loading otherwise
  // The converter as the decode left it (tables, reference resistor, last
  // temperatures): real-time readings of the same exchange go through it.
  UnitConverter converter;
  std::optional<Error> tableError;

  // Settings the decode changes: LastRevision when the logger's revision
  // differs, LastModelCode (1, 2 or 3) from the resolution.
  std::optional<char> newLastRevision;
  std::optional<int> newLastModelCode;

  bool accepted() const { return outcome == StatusOutcome::Accepted; }
};

// Whether a reply passes the acceptance check.
bool isAcceptableStatusReply(std::string_view reply);

// "Invalid response from logger; Length = " + length (at least two
// characters, right-aligned) + CR + the reply + " " + the last command sent.
std::string invalidResponseText(std::string_view reply, std::string_view lastCommand);

StatusDecodeResult decodeStatusReply(std::string_view reply, const StatusSettings& settings, const Clock& clock,
                                     const TableReader& tables);

// The readings, battery and reference resistor of a twelve-character
// readings field, by the resolution and revision of the decoded status.
struct DecodedReadings {
  std::array<std::uint16_t, kChannelCount> raw{};
  int batteryReading = 0;
  float referenceOhms = 10000.0f;
};
DecodedReadings decodeReadingsField(std::string_view field, const LoggerStatus& status, bool strict, bool& ok);

// Converts four raw counts through the converter, channel 1 first, and
// applies the Fahrenheit rule; fills values, scaled and humidity marks.
void convertReadings(LoggerStatus& status, UnitConverter& converter);

// Any bytes at all, for fuzzing: decodes them with fixed settings, a fixed
// clock and an in-memory table, and builds every text. Never crashes.
void decodeStatusBytesForFuzzing(const std::uint8_t* data, std::size_t size);

}  // namespace brevik::protocol
