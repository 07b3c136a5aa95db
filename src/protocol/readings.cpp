#include "protocol/readings.h"

#include "protocol/vocabulary.h"

namespace brevik::protocol {

std::optional<int> hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

std::optional<int> hexPair(std::string_view pair) {
  if (pair.size() < 2) return std::nullopt;
  const auto high = hexDigit(pair[0]);
  const auto low = hexDigit(pair[1]);
  if (!high || !low) return std::nullopt;
  return *high * 16 + *low;
}

namespace {

PackedReadings unpack(const std::array<int, 6>& p, Resolution resolution) {
  PackedReadings r;
  const auto u16 = [](int v) { return static_cast<std::uint16_t>(v); };
  switch (resolution) {
    case Resolution::Bits12:
      r.raw = {u16(p[0] * 16 + (p[2] & 15)), u16(p[1] * 16 + (p[2] >> 4)), u16(p[3] * 16 + (p[5] & 15)),
               u16(p[4] * 16 + (p[5] >> 4))};
      break;
    case Resolution::Bits10:
      r.raw = {u16(p[0] * 4 + (p[4] & 3)), u16(p[1] * 4 + ((p[4] >> 2) & 3)), u16(p[2] * 4 + ((p[4] >> 4) & 3)),
               u16(p[3] * 4 + (p[4] >> 6))};
      r.battery = u16(p[5]);
      break;
    case Resolution::Bits8:
      r.raw = {u16(p[1]), u16(p[2]), u16(p[3]), u16(p[4])};
      r.battery = u16(p[0]);
      break;
  }
  return r;
}

}  // namespace

std::optional<PackedReadings> unpackReadings(std::string_view field, Resolution resolution) {
  if (field.size() < kReadingsFieldLength) return std::nullopt;
  std::array<int, 6> p{};
  for (std::size_t i = 0; i < p.size(); ++i) {
    const auto v = hexPair(field.substr(2 * i, 2));
    if (!v) return std::nullopt;
    p[i] = *v;
  }
  return unpack(p, resolution);
}

PackedReadings unpackReadingsLenient(std::string_view field, Resolution resolution) {
  std::array<int, 6> p{};
  for (std::size_t i = 0; i < p.size() && 2 * i < field.size(); ++i) p[i] = hexPair(field.substr(2 * i, 2)).value_or(0);
  return unpack(p, resolution);
}

float referenceResistor(Resolution resolution, char revision, int batteryReading) {
  const bool from30100 = referenceResistorIs30100(revision);
  if (resolution == Resolution::Bits12) return from30100 ? 30100.0f : 30015.0f;
  if (from30100) return 30100.0f;
  if (referenceResistorMayBe30015(revision) && batteryReading < 129) return 30015.0f;
  return 10000.0f;
}

}  // namespace brevik::protocol
