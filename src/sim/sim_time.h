#pragma once
// Time inside the virtual logger: microseconds since the twin was created.
// The link counts in ticks of 1/18.2 s; a character on the wire takes ten bit
// times (start, eight data bits, stop) at the sender's baud.

#include <cstdint>

namespace brevik::sim {

using Micros = std::int64_t;

inline constexpr Micros kMicrosPerSecond = 1'000'000;

// One tick of the link's timer: 1/18.2 s.
constexpr Micros ticksToMicros(std::int64_t ticks) { return ticks * 10'000'000 / 182; }

// Whole ticks that have begun by `t` (the tick in which `t` falls).
constexpr std::int64_t microsToTicks(Micros t) { return t * 182 / 10'000'000; }

// Ticks needed for `t` to have passed, rounded up.
constexpr std::int64_t microsToTicksCeil(Micros t) { return (t * 182 + 10'000'000 - 1) / 10'000'000; }

// Time one character occupies the line at `baud`.
constexpr Micros characterTime(std::uint32_t baud) {
  return baud == 0 ? 0 : (10 * kMicrosPerSecond + baud - 1) / static_cast<Micros>(baud);
}

constexpr Micros milliseconds(std::int64_t ms) { return ms * 1000; }

}  // namespace brevik::sim
