#pragma once
// The logger's side of the framing: commands arrive as ">" + body +
// [station address, 2 hex digits] + checksum (2 hex digits) + CR; replies go
// back as one line ending with CR, most with a checksum.
//
// A checksum is the two upper-case hex digits of (256 - sum of the character
// codes before it) mod 256, so that the sum of the characters plus the value
// of the two digits is 0 mod 256.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brevik::sim {

std::string hexByte(std::uint8_t value);
std::string hexWord(std::uint16_t value);

// The value of two upper-case hex digits; nothing for any other character.
std::optional<std::uint8_t> parseHexByte(std::string_view two);
std::optional<std::uint16_t> parseHexWord(std::string_view four);

std::uint8_t checksumOf(std::string_view text);

// text + its two checksum digits.
std::string withChecksum(std::string_view text);

// Whether the last two characters are the checksum of the ones before.
bool checksumMatches(std::string_view line);

struct Command {
  std::string body;
  std::optional<std::uint8_t> address;  // present when the frame carries one
};

// Reads a command line (without ">" and CR). `withAddress` tells whether the
// logger's firmware expects the station address in the frame. Nothing when
// the line is too short, the checksum fails or the address is not hex.
std::optional<Command> parseCommand(std::string_view text, bool withAddress);

}  // namespace brevik::sim
