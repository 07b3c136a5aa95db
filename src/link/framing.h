#pragma once
// The logger's transport rules as pure functions: hexadecimal pairs, command
// frames and their checksums, the wake-up burst and the baud letters, the
// reply time-outs and the texts shown while a command goes out.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/tick_scheduler.h"

namespace brevik::link {

// ---- Hexadecimal pairs -------------------------------------------------------

// "0".."9", "A".."F", most significant digit first.
std::string hexByte(std::uint8_t value);
std::string hexWord(std::uint16_t value);

// The value of one digit: '0'-'9' and 'A'-'F' as themselves; any other
// character by its low four bits (so 'a' counts as 1, not 10), as the logger
// and the program always read them.
std::uint8_t hexDigitValue(char digit);

// Two characters read as a hexadecimal pair by the rule above.
std::uint8_t hexPairValue(char high, char low);

// ---- Frames ------------------------------------------------------------------


// The address a frame carries: the station address in a network, 0 otherwise,
// and always 0 while answering a call (the caller is the only logger there).
std::uint8_t frameAddress(bool networkMode, std::uint8_t stationAddress, bool autoAnswer);

// body + address (when the firmware takes one) + checksum pair, where the
// checksum is (256 - sum of the codes so far) mod 256.
std::string frameCommand(std::string_view body, char firmwareLetter, std::uint8_t address);

// The codes of every character but the last two, plus the last two read as a
// hexadecimal pair, sum to 0 modulo 256. Lines shorter than two characters
// fail.
bool replyChecksumOK(std::string_view line);

// ---- Wake-up -----------------------------------------------------------------

struct WakeBurst {
  std::uint8_t byte = 0;
  std::size_t runLength = 0;  // identical bytes written at once
  std::size_t runs = 0;       // how many times the run is written
  friend bool operator==(const WakeBurst&, const WakeBurst&) = default;
};

// The burst sent at the port's current baud. `shortBurst` is the fast
// protocol or a baud change (runs of 5); `fastProtocol` alone decides the byte
// (0x55 at every speed). No burst (nullopt) for the normal protocol at 28800
// and above, or at a speed the logger does not know.
std::optional<WakeBurst> wakeBurst(std::uint32_t portBaud, bool fastProtocol, bool shortBurst);

// How a single byte sent by the logger at `baudRate` reads at 1200 baud.
std::uint8_t expectedWakeReply(std::uint32_t baudRate);

// The letter sent (unframed) after an "R" line at 1200: A 1200, B 2400,
// C 4800, D 9600, E any other.
char wakeBaudLetter(std::uint32_t baudRate);

// The letter of the baud-change command: the character 0x40 + baud / 1200.
char changeBaudLetter(std::uint32_t baudRate);

// Ticks to wait for a reply at `baudRate`; nullopt for a speed not in the
// table (the previous time-out then stays).
std::optional<Ticks> replyTimeoutTicks(std::uint32_t baudRate);

// ---- Sending -----------------------------------------------------------------

struct SendTicksInput {
  bool shortTimeout = false;     // the configuration's 9-tick sends
  Ticks replyTimeout = 0;
  bool awaitingData = false;     // the link state is AwaitData
  bool modemOrWireless = false;
  bool realTime = false;
  char firmwareLetter = 'q';
  bool changeBaud = false;
};

// Ticks armed when a framed command goes out.
Ticks sendFramedTicks(const SendTicksInput& in);

// A counter as two characters, right-aligned (wider numbers keep all digits).
std::string rightAligned2(long value);

// "Send: " + [count + " "] + the sent text, for the status line.
std::string sendStatusText(std::string_view sent, std::optional<long> count);


}  // namespace brevik::link
