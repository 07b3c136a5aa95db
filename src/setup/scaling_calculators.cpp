#include "setup/scaling_calculators.h"

#include <cmath>
#include <cstdlib>

namespace brevik::setup {

namespace {

CalculatorResult refused(std::string_view message) { return CalculatorResult{{std::string(message)}, std::nullopt}; }

// Results that are not finite cannot be written as scale numbers; they only
// come from degenerate entries, which are refused like an invalid entry.
CalculatorResult results(double low, double high) {
  if (!std::isfinite(low) || !std::isfinite(high)) return {};
  return CalculatorResult{{}, ScalePair{calculatorOutput(low), calculatorOutput(high)}};
}

}  // namespace

std::optional<double> parseCalculatorEntry(std::string_view entry) {
  while (!entry.empty() && entry.front() == ' ') entry.remove_prefix(1);
  while (!entry.empty() && entry.back() == ' ') entry.remove_suffix(1);
  if (entry.empty() || entry.size() > 40) return std::nullopt;
  std::string s(entry);
  for (char& c : s)
    if (c == ',') c = '.';
  for (char c : s)
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

OldScale oldScaleOfItem(std::string_view linearItemText) {
  const auto part = [&](std::size_t from, std::size_t count) {
    if (from >= linearItemText.size()) return std::string();
    return std::string(linearItemText.substr(from, count));
  };
  return {part(8, 6), part(8 + 9, 6)};
}

CalculatorResult calibrate(const CalibrationEntries& e) {
  const auto oldLow = parseCalculatorEntry(e.oldLow);
  const auto oldHigh = parseCalculatorEntry(e.oldHigh);
  const auto lowLogger = parseCalculatorEntry(e.lowLogger);
  const auto lowTrue = parseCalculatorEntry(e.lowTrue);
  const auto highLogger = parseCalculatorEntry(e.highLogger);
  const auto highTrue = parseCalculatorEntry(e.highTrue);
  if (!oldLow || !oldHigh || !lowLogger || !lowTrue || !highLogger || !highTrue) return {};

  CalculatorResult result;
  if (*lowLogger > *highLogger) result.errors.emplace_back(kLowLoggerHigherText);
  if (*lowTrue > *highTrue) result.errors.emplace_back(kLowTrueHigherText);
  if (result.errors.empty()) {
    if (*lowLogger == *highLogger) result.errors.emplace_back(kSameLoggerText);
    else if (*lowTrue == *highTrue) result.errors.emplace_back(kSameTrueText);
  }
  if (!result.errors.empty()) return result;
  // An old scale of two equal values has no steps to measure in.
  if (*oldHigh == *oldLow) return refused(kValuesDifferentText);

  const double step = (*oldHigh - *oldLow) / 5.0;
  const double xLo = (*lowLogger - *oldLow) / step;
  const double xHi = (*highLogger - *oldLow) / step;
  const double slope = (*highTrue - *lowTrue) / (xHi - xLo);
  const double newLow = *highTrue - slope * xHi;
  const double newHigh = slope * 5.0 + newLow;
  return results(newLow, newHigh);
}

CalculatorResult currentLoop(const CurrentLoopEntries& e) {
  auto lowMa = parseCalculatorEntry(e.lowMilliamps);
  const auto highMa = parseCalculatorEntry(e.highMilliamps);
  const auto ohms = parseCalculatorEntry(e.ohms);
  const auto zero = parseCalculatorEntry(e.zeroValue);
  const auto fullScale = parseCalculatorEntry(e.fullScaleValue);
  if (!lowMa || !highMa || !ohms || !zero || !fullScale) return {};
  if (*lowMa == 0.0) lowMa = -0.000001;

  if (*lowMa > *highMa) return refused(kLoMilliampsGreaterText);
  if (*lowMa == *highMa) return refused(kSameMilliampsText);
  if (*zero == *fullScale) return refused(kSameReadingText);

  // The shunt voltage in input units: 20 units per volt, so 0-5 V is 0-100.
  const double uHi = *highMa / 1000.0 * *ohms * 20.0;
  const double uLo = *lowMa / 1000.0 * *ohms * 20.0;
  const double slope = (*fullScale - *zero) / (uHi - uLo);
  const double low = *fullScale - slope * uHi;
  return results(low, slope * 100.0 + low);
}

CalculatorResult linearSensor(const LinearSensorEntries& e) {
  const auto minVolts = parseCalculatorEntry(e.minimumVolts);
  const auto maxVolts = parseCalculatorEntry(e.maximumVolts);
  const auto minReading = parseCalculatorEntry(e.minimumReading);
  const auto maxReading = parseCalculatorEntry(e.maximumReading);
  if (!minVolts || !maxVolts || !minReading || !maxReading) return {};

  if (*minVolts > *maxVolts) return refused(kMinVoltsGreaterText);
  if (*minVolts == *maxVolts) return refused(kSameVoltsText);
  if (*minReading == *maxReading) return refused(kSameReadingText);

  const double slope = (*maxReading - *minReading) / (*maxVolts - *minVolts);
  const double low = *maxReading - slope * *maxVolts;
  return results(low, slope * 5.0 + low);
}

}  // namespace brevik::setup
