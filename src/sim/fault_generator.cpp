#include "sim/fault_generator.h"

namespace brevik::sim {

bool FaultGenerator::strikes(FaultKind kind) {
  const double rate = rates_[static_cast<std::size_t>(kind)];
  if (rate <= 0.0) return false;
  return random_.unit() < rate;
}

std::string FaultGenerator::noiseLine() {
  std::string line(5 + random_.below(20), ' ');
  for (char& c : line) c = static_cast<char>('!' + random_.below(94));  // '!' .. '~'
  return line;
}

char FaultGenerator::otherHexDigit(char digit) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char c = digit;
  while (c == digit) c = kDigits[random_.below(16)];
  return c;
}

}  // namespace brevik::sim
