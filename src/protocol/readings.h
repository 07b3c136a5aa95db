#pragma once
// The logger's current readings: six hexadecimal pairs packed by resolution
// (the status reply carries them, and so does every real-time reading line),
// and the reference resistor that goes with them.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace brevik::protocol {

inline constexpr std::size_t kReadingsFieldLength = 12;

// Resolution in bits: 8, 10 or 12.
enum class Resolution { Bits8 = 8, Bits10 = 10, Bits12 = 12 };

struct PackedReadings {
  std::array<std::uint16_t, 4> raw{};  // channels 1-4
  std::uint16_t battery = 0;           // 8 and 10 bit; 12-bit loggers send it apart
};

// A hexadecimal digit '0'-'9' or 'A'-'F'; nothing otherwise.
std::optional<int> hexDigit(char c);
// A pair, high digit first; nothing when a digit is not hexadecimal.
std::optional<int> hexPair(std::string_view pair);

// The four counts (and battery reading) of the twelve characters. A pair
// that is not hexadecimal makes the result empty.
std::optional<PackedReadings> unpackReadings(std::string_view field, Resolution resolution);

// The same, reading a pair that is not hexadecimal (or missing) as 0.
PackedReadings unpackReadingsLenient(std::string_view field, Resolution resolution);

// The reference resistor in ohms for a resolution, revision and battery reading.
float referenceResistor(Resolution resolution, char revision, int batteryReading);

}  // namespace brevik::protocol
