#include "sim/framing.h"

namespace brevik::sim {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

std::optional<int> hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

}  // namespace

std::string hexByte(std::uint8_t value) { return {kDigits[value >> 4], kDigits[value & 15]}; }

std::string hexWord(std::uint16_t value) {
  return hexByte(static_cast<std::uint8_t>(value >> 8)) + hexByte(static_cast<std::uint8_t>(value & 0xFF));
}

std::optional<std::uint8_t> parseHexByte(std::string_view two) {
  if (two.size() != 2) return std::nullopt;
  const auto hi = hexDigit(two[0]), lo = hexDigit(two[1]);
  if (!hi || !lo) return std::nullopt;
  return static_cast<std::uint8_t>(*hi * 16 + *lo);
}

std::optional<std::uint16_t> parseHexWord(std::string_view four) {
  if (four.size() != 4) return std::nullopt;
  const auto hi = parseHexByte(four.substr(0, 2)), lo = parseHexByte(four.substr(2, 2));
  if (!hi || !lo) return std::nullopt;
  return static_cast<std::uint16_t>(*hi << 8 | *lo);
}

std::uint8_t checksumOf(std::string_view text) {
  unsigned sum = 0;
  for (const char c : text) sum += static_cast<unsigned char>(c);
  return static_cast<std::uint8_t>((256 - sum % 256) % 256);
}

std::string withChecksum(std::string_view text) { return std::string(text) + hexByte(checksumOf(text)); }

bool checksumMatches(std::string_view line) {
  if (line.size() < 2) return false;
  const auto given = parseHexByte(line.substr(line.size() - 2));
  return given && *given == checksumOf(line.substr(0, line.size() - 2));
}

std::optional<Command> parseCommand(std::string_view text, bool withAddress) {
  const std::size_t minimum = withAddress ? 5 : 3;  // body of one character at least
  if (text.size() < minimum || !checksumMatches(text)) return std::nullopt;
  std::string_view rest = text.substr(0, text.size() - 2);
  Command command;
  if (withAddress) {
    const auto address = parseHexByte(rest.substr(rest.size() - 2));
    if (!address) return std::nullopt;
    command.address = *address;
    rest.remove_suffix(2);
  }
  command.body = std::string(rest);
  return command;
}

}  // namespace brevik::sim
