#pragma once
// The three calculators of the linear scaling dialog. Each turns what the
// user knows about a sensor into the two scale numbers of a 0-5 V input (the
// values at the bottom and at the top of the input range), formatted by the
// calculator output rule. Entries arrive as typed; an entry that is not a
// number stops the calculation without a message, as the dialogs do.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/scale_entry.h"

namespace brevik::setup {

struct CalculatorResult {
  // Error texts to show, in order (each an error box with OK); the results
  // are then left as they were and the dialog stays open.
  std::vector<std::string> errors;
  // The new low and high scale numbers; none when an entry was invalid or
  // an error was found.
  std::optional<ScalePair> values;

  bool stoppedSilently() const { return errors.empty() && !values; }
};

// A typed number: blanks around it allowed, '.' or ',' as the decimal point.
std::optional<double> parseCalculatorEntry(std::string_view entry);

// --- Calibration ("Calibration Echelle  ") ---------------------------------

inline constexpr std::string_view kLowLoggerHigherText = "Low logger is higher than High logger reading";
inline constexpr std::string_view kLowTrueHigherText = "Low true value is higher than High true value";
inline constexpr std::string_view kSameLoggerText = "Same value entered for Low and High logger";
inline constexpr std::string_view kSameTrueText = "Same value entered for Low / High true";

struct OldScale {
  std::string low;   // `OldLoValField`
  std::string high;  // `OldHiValField`
};

// The old scale shown on opening, from item 4 of the channel's box: after
// its 8-character prefix, characters 1-6 and 10-15.
OldScale oldScaleOfItem(std::string_view linearItemText);

struct CalibrationEntries {
  std::string oldLow, oldHigh;
  std::string lowLogger, lowTrue;
  std::string highLogger, highTrue;
};

CalculatorResult calibrate(const CalibrationEntries& entries);

// --- Current loop ("Echelle Boucle mA   ") ---------------------------------

inline constexpr std::string_view kLoMilliampsGreaterText = "Lo Milliamps is greater than Hi Milliamps";
inline constexpr std::string_view kSameMilliampsText = "Same value entered for Lo/Hi Milliamps";
inline constexpr std::string_view kSameReadingText = "Same value entered for Zero/Full Scale Reading";

struct CurrentLoopEntries {
  std::string lowMilliamps = "4";   // `LoMaField`
  std::string highMilliamps = "20";  // `HiMaField`
  std::string ohms = "249";          // `OhmsField`
  std::string zeroValue = "0";       // `ZeroField`
  std::string fullScaleValue = "100";  // `FSField`
};

CalculatorResult currentLoop(const CurrentLoopEntries& entries);

// --- Linear sensor ("Echelle capteur linéaire ") ---------------------------

inline constexpr std::string_view kMinVoltsGreaterText = "Min dc volts is greater than Max dc volts";
inline constexpr std::string_view kSameVoltsText = "Same value entered for Min/Max dc volts";

struct LinearSensorEntries {
  std::string minimumVolts = "0";
  std::string maximumVolts = "5";
  std::string minimumReading = "0";
  std::string maximumReading = "100";
};

CalculatorResult linearSensor(const LinearSensorEntries& entries);

}  // namespace brevik::setup
