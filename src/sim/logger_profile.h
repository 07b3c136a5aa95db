#pragma once
// A virtual logger's description: a small text file of `key = value` lines
// (`#` starts a comment; a value may be put in double quotes to keep leading
// or trailing blanks). Every key has a default, so an empty profile describes
// a working 12-bit KALDO at 9600 baud.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/result.h"
#include "sim/modem_profile.h"

namespace brevik::sim {

// Which wake-up the logger answers: the long burst with a reply byte and
// baud switch, or the short burst of the fast (MT7xx) loggers, which answer
// nothing and simply listen for the first command.
enum class WakeProtocol { Normal, Fast };

// How a normal-protocol logger answers the wake-up: with one byte sent at its
// own baud, or (old loggers) with an "R" line at 1200 after which the PC
// chooses the baud with a letter.
enum class WakeAnswer { ReplyByte, LetterHandshake };

enum class FaultKind : std::size_t {
  BadChecksum,   // badsum: a reply with a wrong checksum digit
  Silence,       // silence: no reply at all
  Garbage,       // garbage: a line of noise before the reply
  Duplicate,     // dup: the reply line sent twice
  Short,         // short: the reply cut short
  LongIdent,     // longident: an identification line of six characters or more
  RejectStatus,  // reject: a status reply whose fifth character no decoder accepts
};
inline constexpr std::size_t kFaultKindCount = 7;

// The profile name of a fault ("badsum", ...).
std::string_view faultName(FaultKind kind);

struct SignalShape {
  enum class Kind { Sine, Ramp, Constant };
  Kind kind = Kind::Sine;
  int value = 0;  // the raw count of `constant N`
};

struct LoggerProfile {
  char model = '5';
  int resolution = 12;  // 8, 10 or 12
  char revision = 'q';
  WakeProtocol protocol = WakeProtocol::Normal;
  // Unset: the letter handshake for revisions below 'I', the reply byte otherwise.
  std::optional<WakeAnswer> wakeAnswer;
  std::uint32_t baud = 9600;  // the logger's own baud
  // Unset: "K" followed by the revision.
  std::optional<std::string> ident;
  std::uint8_t address = 0;
  char rate = 'J';
  std::uint8_t flags = 0;
  std::uint8_t channels = 0x0F;
  std::uint16_t inputs = 0;
  std::string types = "CCCC";
  std::array<std::string, 4> records{"C", "C", "C", "C"};
  std::array<std::string, 4> descriptions{"Canal 1", "Canal 2", "Canal 3", "Canal 4"};
  std::string session = "Brevik virtual logger";
  std::uint16_t pointer = 0x0800;
  char bank = 'A';
  std::uint8_t phase = 0;
  std::string memoryImage;  // banks A-D back to back, from the `memory` file
  SignalShape signal;
  std::optional<std::string> readings;  // twelve hex digits
  std::uint8_t battery = 60;
  std::string clock, first, stop;       // 14-character date codes; empty: from the PC clock
  std::optional<std::string> schedule;  // the schedule reply before its checksum
  std::optional<std::string> rawStatus;  // the `status` file's reply, sent as it stands
  // From a command's CR to the first byte of its reply, in milliseconds.
  std::uint32_t replyDelayMs = 20;
  std::array<double, kFaultKindCount> faultRates{};
  std::uint64_t seed = 1;
  ModemProfile modem;
  // Whether any key describes the logger itself: a modem or loopback profile
  // without one is a bare modem or a bare cable.
  bool hasLoggerKeys = false;

  double faultRate(FaultKind kind) const { return faultRates[static_cast<std::size_t>(kind)]; }
  WakeAnswer effectiveWakeAnswer() const;
  std::string effectiveIdent() const;
};

inline constexpr std::size_t kBankBytes = 32256;
// A profile is a page of keys; a status file one reply line of a few hundred
// bytes. Files said to be either are read for no more than this.
inline constexpr std::size_t kMaxProfileBytes = 65536;
inline constexpr std::size_t kMaxStatusFileBytes = 4096;

// Reads a profile. `sourceName` names it in error messages ("name:line: ...");
// the files named by `memory` and `status` are read relative to `baseDir`.
Result<LoggerProfile> parseLoggerProfile(std::string_view text, std::string_view sourceName,
                                         const std::filesystem::path& baseDir);

Result<LoggerProfile> loadLoggerProfile(const std::filesystem::path& path);

// The profile file meant by PROFILE in a port name `sim:PROFILE` (or by the
// bare name `sim`, which means "default"): an existing file path, or the name
// of a shipped profile in `shippedDir` (with or without ".logger").
Result<std::filesystem::path> findLoggerProfile(std::string_view profile, const std::filesystem::path& shippedDir);

// Finds and reads the profile PROFILE of `sim:PROFILE` (see findLoggerProfile).
Result<LoggerProfile> loadSimProfile(std::string_view profile, const std::filesystem::path& shippedDir);

// Whether a port device name asks for the virtual logger, and which profile.
std::optional<std::string> simProfileOfDevice(std::string_view device);

}  // namespace brevik::sim
