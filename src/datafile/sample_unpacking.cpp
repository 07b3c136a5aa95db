#include "datafile/sample_unpacking.h"

#include "protocol/vocabulary.h"

namespace brevik::datafile {

namespace {

using protocol::kResolution10Bit;
using protocol::kResolution12Bit;

// Sample `k` of a group whose high byte is `high` and low-bits byte `low`.
std::uint16_t groupSample(int resolutionCode, std::uint8_t high, std::uint8_t low, std::size_t k) {
  if (resolutionCode == kResolution12Bit)
    return static_cast<std::uint16_t>(high * 16 + ((k == 0 ? low : low >> 4) & 15));
  if (resolutionCode == kResolution10Bit)
    return static_cast<std::uint16_t>(high * 4 + ((low >> (2 * k)) & 3));
  return high;
}

// Unpacks the high bytes bytes[from, from + count) as samples firstK.. of a
// group whose low-bits byte is `low`.
std::size_t unpackPartial(int resolutionCode, std::span<const std::uint8_t> highs, std::size_t firstK,
                          std::uint8_t low, std::span<std::uint16_t> out, std::size_t written) {
  for (std::size_t i = 0; i < highs.size() && written < out.size(); ++i)
    out[written++] = groupSample(resolutionCode, highs[i], low, firstK + i);
  return written;
}

// Regular groups from `pos` on; stops before a trailing partial group.
// Returns the samples written; `pos` ends at the first byte not unpacked.
std::size_t unpackGroups(int resolutionCode, std::span<const std::uint8_t> bytes, std::size_t& pos,
                         std::span<std::uint16_t> out, std::size_t written) {
  const std::size_t gb = groupBytes(resolutionCode);
  const std::size_t gs = groupSamples(resolutionCode);
  while (pos + gb <= bytes.size() && written < out.size()) {
    const std::uint8_t low = bytes[pos + gb - 1];
    for (std::size_t k = 0; k < gs && written < out.size(); ++k)
      out[written++] = groupSample(resolutionCode, bytes[pos + k], low, k);
    pos += gb;
  }
  return written;
}

}  // namespace

std::size_t groupBytes(int resolutionCode) {
  if (resolutionCode == kResolution12Bit) return 3;
  if (resolutionCode == kResolution10Bit) return 5;
  return 1;
}

std::size_t groupSamples(int resolutionCode) {
  if (resolutionCode == kResolution12Bit) return 2;
  if (resolutionCode == kResolution10Bit) return 4;
  return 1;
}

std::size_t packedSampleCount(int resolutionCode, std::size_t bytes) {
  const std::size_t gb = groupBytes(resolutionCode);
  const std::size_t gs = groupSamples(resolutionCode);
  return (bytes * gs + gb - 1) / gb;
}

std::size_t unpackAligned(int resolutionCode, std::span<const std::uint8_t> bytes,
                          std::span<std::uint16_t> out) {
  std::size_t pos = 0;
  std::size_t written = unpackGroups(resolutionCode, bytes, pos, out, 0);
  if (pos < bytes.size() && written < out.size())
    written = unpackPartial(resolutionCode, bytes.subspan(pos), 0, 0, out, written);
  return written;
}

std::size_t unpackWrapped(int resolutionCode, std::span<const std::uint8_t> bytes, int phase,
                          std::uint8_t tail, std::span<std::uint16_t> out) {
  const std::size_t gs = groupSamples(resolutionCode);
  const std::size_t p = resolutionCode == kResolution12Bit || resolutionCode == kResolution10Bit
                            ? static_cast<std::size_t>(phase) % gs
                            : 0;
  std::size_t written = 0;
  std::size_t pos = 0;
  if (p > 0) {
    // The cut group: its remaining high bytes, then its low-bits byte.
    const std::size_t highs = gs - p;
    if (bytes.size() < highs + 1) {
      // Too short to hold the cut group's low bits: what is there is all
      // that can be shown, with the low bits of the tail.
      return unpackPartial(resolutionCode, bytes, p, tail, out, 0);
    }
    written = unpackPartial(resolutionCode, bytes.first(highs), p, bytes[highs], out, 0);
    pos = highs + 1;
  }
  written = unpackGroups(resolutionCode, bytes, pos, out, written);
  if (pos < bytes.size() && written < out.size())
    written = unpackPartial(resolutionCode, bytes.subspan(pos), 0, tail, out, written);
  return written;
}

int wrapPhase(int resolutionCode, std::uint8_t phaseByte) {
  if (resolutionCode == kResolution12Bit) return phaseByte & 1;
  if (resolutionCode == kResolution10Bit) return phaseByte & 3;
  return 0;
}

int lowBitsByteIndex(int resolutionCode, int phase) {
  if (phase <= 0) return -1;
  if (resolutionCode == kResolution12Bit) return phase == 1 ? 1 : -1;
  if (resolutionCode == kResolution10Bit) return phase <= 3 ? 4 - phase : -1;
  return -1;
}

std::size_t packSamples(int resolutionCode, std::span<const std::uint16_t> samples,
                        std::span<std::uint8_t> out) {
  const std::size_t gs = groupSamples(resolutionCode);
  const std::size_t gb = groupBytes(resolutionCode);
  const unsigned lowBits = resolutionCode == kResolution12Bit ? 4 : resolutionCode == kResolution10Bit ? 2 : 0;
  std::size_t written = 0;
  for (std::size_t first = 0; first < samples.size() && written + gb <= out.size(); first += gs) {
    unsigned low = 0;
    for (std::size_t k = 0; k < gs; ++k) {
      const unsigned s = first + k < samples.size() ? samples[first + k] : 0u;
      out[written + k] = static_cast<std::uint8_t>((s >> lowBits) & 0xFF);
      low |= (s & ((1u << lowBits) - 1)) << (lowBits * k);
    }
    if (gb > gs) out[written + gb - 1] = static_cast<std::uint8_t>(low);
    written += gb;
  }
  return written;
}

}  // namespace brevik::datafile
