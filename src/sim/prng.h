#pragma once
// The fault generator's random numbers. A small generator of our own
// (SplitMix64) so that a seed gives the same faults on every compiler and
// standard library; std:: distributions do not promise that.

#include <cstdint>

namespace brevik::sim {

class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed = 0) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // Uniform in [0, 1), from the top 53 bits.
  double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

  // Uniform in [0, bound); 0 when bound is 0.
  std::uint32_t below(std::uint32_t bound) {
    return bound == 0 ? 0 : static_cast<std::uint32_t>(next() % bound);
  }

 private:
  std::uint64_t state_;
};

}  // namespace brevik::sim
