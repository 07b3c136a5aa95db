#pragma once
// Decides, reply by reply, which of a profile's faults strike. Every decision
// draws from one seeded generator in a fixed order, and only for faults whose
// rate is above 0, so a profile and a seed give the same run every time.

#include <array>
#include <string>

#include "sim/logger_profile.h"
#include "sim/prng.h"

namespace brevik::sim {

class FaultGenerator {
 public:
  FaultGenerator(const std::array<double, kFaultKindCount>& rates, std::uint64_t seed)
      : rates_(rates), random_(seed) {}

  // Whether the fault strikes this time.
  bool strikes(FaultKind kind);

  // A line of printable noise (no CR), 5 to 24 characters long.
  std::string noiseLine();

  // A hex digit other than `digit`.
  char otherHexDigit(char digit);

 private:
  std::array<double, kFaultKindCount> rates_;
  SplitMix64 random_;
};

}  // namespace brevik::sim
