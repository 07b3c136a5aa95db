#include "link/framing.h"
#include "protocol/vocabulary.h"

#include <array>

namespace brevik::link {

namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";

}  // namespace

std::string hexByte(std::uint8_t value) {
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string hexWord(std::uint16_t value) {
  return hexByte(static_cast<std::uint8_t>(value >> 8)) +
         hexByte(static_cast<std::uint8_t>(value & 0xFF));
}

std::uint8_t hexDigitValue(char digit) {
  if (digit >= 'A' && digit <= 'F') return static_cast<std::uint8_t>(digit - 'A' + 10);
  return static_cast<std::uint8_t>(static_cast<unsigned char>(digit) & 0x0F);
}

std::uint8_t hexPairValue(char high, char low) {
  return static_cast<std::uint8_t>((hexDigitValue(high) << 4) | hexDigitValue(low));
}

std::uint8_t frameAddress(bool networkMode, std::uint8_t stationAddress, bool autoAnswer) {
  if (autoAnswer || !networkMode) return 0;
  return stationAddress;
}

std::string frameCommand(std::string_view body, char firmwareLetter, std::uint8_t address) {
  std::string text(body);
  if (protocol::revisionTakesStationAddress(firmwareLetter)) text += hexByte(address);
  unsigned sum = 0;
  for (char c : text) sum += static_cast<unsigned char>(c);
  text += hexByte(static_cast<std::uint8_t>((256 - sum % 256) % 256));
  return text;
}

bool replyChecksumOK(std::string_view line) {
  if (line.size() < 2) return false;
  unsigned sum = 0;
  for (std::size_t i = 0; i + 2 < line.size(); ++i) sum += static_cast<unsigned char>(line[i]);
  sum += hexPairValue(line[line.size() - 2], line[line.size() - 1]);
  return sum % 256 == 0;
}

std::optional<WakeBurst> wakeBurst(std::uint32_t portBaud, bool fastProtocol, bool shortBurst) {
  static constexpr std::array<std::uint32_t, 8> kKnown = {1200,  2400,  4800,  9600,
                                                          19200, 28800, 38400, 57600};
  bool known = false;
  for (auto b : kKnown) known = known || b == portBaud;
  if (!known) return std::nullopt;

  WakeBurst burst;
  if (fastProtocol || portBaud == 1200) burst.byte = 0x55;
  else if (portBaud == 2400 || portBaud == 4800) burst.byte = 0x99;
  else burst.byte = 0xF0;

  if (shortBurst) {
    burst.runLength = 5;
    burst.runs = portBaud / 1200;
  } else {
    if (portBaud > 19200) return std::nullopt;
    burst.runLength = 250;
    burst.runs = 2 * (portBaud / 1200);
  }
  return burst;
}

std::uint8_t expectedWakeReply(std::uint32_t baudRate) {
  switch (baudRate) {
    case 1200: return 0xFF;
    case 2400: return 0xFE;
    case 4800: return 0xF8;
    case 9600: return 0x80;
    default: return 0x00;
  }
}

char wakeBaudLetter(std::uint32_t baudRate) {
  switch (baudRate) {
    case 1200: return 'A';
    case 2400: return 'B';
    case 4800: return 'C';
    case 9600: return 'D';
    default: return 'E';
  }
}

char changeBaudLetter(std::uint32_t baudRate) {
  return static_cast<char>(0x40 + (baudRate / 1200) % 0x40);
}

std::optional<Ticks> replyTimeoutTicks(std::uint32_t baudRate) {
  switch (baudRate) {
    case 1200: return 49;
    case 2400: return 29;
    case 4800: return 18;
    case 9600: return 36;  // longer than 4800 on purpose: the logger answers slowly at 9600
    case 19200: return 9;
    default: break;
  }
  if (baudRate >= 28800) return 9;
  return std::nullopt;
}

Ticks sendFramedTicks(const SendTicksInput& in) {
  Ticks ticks = 0;
  if (in.shortTimeout) {
    ticks = 9;
  } else {
    ticks = in.replyTimeout;
    if (!in.awaitingData && in.modemOrWireless) ticks += 24;
  }
  if (in.realTime && !protocol::revisionSendsReadingsOnRequest(in.firmwareLetter)) ticks = 73;
  if (in.changeBaud) ticks = 9;
  return ticks;
}

std::string rightAligned2(long value) {
  std::string digits = std::to_string(value);
  if (digits.size() < 2) digits.insert(0, 2 - digits.size(), ' ');
  return digits;
}

std::string sendStatusText(std::string_view sent, std::optional<long> count) {
  std::string text = "Send: ";
  if (count) text += rightAligned2(*count) + " ";
  text += sent;
  return text;
}

}  // namespace brevik::link
