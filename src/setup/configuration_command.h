#pragma once
// The configuration command: the Logger Configuration encoded as the four
// text messages a logger takes (three for old firmware), before framing.
// Pure functions of the record, the logger's firmware, the PC clock and the
// labels-only mode.
//
// Message 1  "0" (or "1" before revision 'I', "K" for labels only), clock
//            field, start field, rate code, channel character, mode
//            character, session description, four channel type codes
// Message 2  "2", channel descriptions 1 and 2
// Message 3  "3", channel descriptions 3 and 4
// Message 4  "4", four 12-character channel fields, a blank, the two
//            input-mode characters, and " C" / " B" / " A" for the resolution

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "common/clock.h"
#include "setup/logger_configuration.h"

namespace brevik::setup {

// The start and stop modes of `ModeByte` as the logger's mode character:
// start 0 or 3 -> '@', 1 -> 'F' (stopped, waiting for the preset time),
// 2 -> 'P' (waiting for the trigger); stop 1 adds bit 0 (ring), stop 2 adds
// bits 0 and 5 (ring that stops when channel 1 opens).
char modeCharacter(std::uint8_t modeByte);

inline constexpr unsigned kModeRing = 1u;
inline constexpr unsigned kModeStopped = 2u;
inline constexpr unsigned kModeWaitingForTime = 4u;
inline constexpr unsigned kModeWaitingForTrigger = 16u;
inline constexpr unsigned kModeStopOnChannel1 = 32u;

// Whether the preset start (start mode 1) lies before `now`: the start date,
// or today when `StartToday` is 1, at the start time.
bool presetStartPassed(const setup::LoggerConfiguration& config, const DateTime& now);

// "ssnnhhddmm" + day-of-week digit ('1' Sunday) + "yy": 13 characters.
std::string clockField(const DateTime& now);

// The preset start as "00nnhhddmm" + day-of-week digit + "yy", carrying the
// dial-out schedule: monthly ('a') puts `DialOutMonthday` in the day, weekly
// ('b') `DialOutWeekday` in the day-of-week digit, and the year becomes 97,
// 98 or 99 for 'a', 'b', 'c'.
std::string startField(const setup::LoggerConfiguration& config, const DateTime& now);

// 64 + bit n-1 for each channel n that is on, + 32 when the mode character
// stops on channel 1.
char channelCharacter(const setup::LoggerConfiguration& config);

// The mode character as sent: a preset start that has passed starts at once
// (bits 1 and 2 cleared); with no channel on the logger stays stopped (bit 1).
char sentModeCharacter(const setup::LoggerConfiguration& config, const DateTime& now);

// Channel field n of message 4: a table name padded to 12, the 12-character
// scale text of a linear or contact channel, or the type code and 11 blanks.
std::string channelField(const setup::LoggerConfiguration& config, int channel);

struct ConfigurationTarget {
  char revision = 'A';       // firmware revision of the logger
  bool oldFirmware = false;  // the revision was below 'A'
  bool labelsOnly = false;   // "Change Scaling and/or Labels"
};

struct ConfigurationMessages {
  std::vector<std::string> messages;  // 3 for old firmware, else 4
};

enum class RefusalKind {
  ScalingNotSupported,  // old firmware and a linear or contact channel: warning
  RateNotSupported,     // information
};

struct ConfigurationRefusal {
  RefusalKind kind;
  std::string message;
};

std::string scalingNotSupportedText();
inline constexpr std::string_view kRateNotSupportedText = "Logger does not support selected sample rate";

// Builds the messages, or refuses before any is sent: old firmware cannot
// take linear or contact scaling, and the rate must be one the revision
// supports.
std::variant<ConfigurationMessages, ConfigurationRefusal> buildConfigurationCommand(
    const setup::LoggerConfiguration& config, const ConfigurationTarget& target, const DateTime& now);

}  // namespace brevik::setup
