#pragma once
// The checks a Logger Configuration passes before it is sent. Some settings
// would make a logger unreachable or flatten its battery, and sending always
// erases its memory, so the user is warned and asked in a fixed order. Every
// message is a warning; a refusal or a Cancel stops the send and nothing
// reaches the logger.
//
// The questions are asked through a callback so that the windows, kaldo and
// the tests each answer in their own way.

#include <functional>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "setup/logger_configuration.h"

namespace brevik::setup {

enum class ValidationButtons { Ok, OkCancel };

struct ValidationQuestion {
  int step = 0;  // which check asks, by its place in the order they run (from 1)
  std::string text;
  ValidationButtons buttons = ValidationButtons::Ok;
};

// Returns true for OK, false for Cancel (or a closed box).
using ValidationAsker = std::function<bool(const ValidationQuestion&)>;

struct ValidationContext {
  DateTime now;
  // A command-line send or an auto-answered call: nobody is there to be told
  // that the memory will be erased, so neither that question nor the ones
  // after it are asked.
  bool unattended = false;
  // "Change Scaling and/or Labels" keeps the logger recording: no checks.
  bool labelsOnly = false;
};

enum class ValidationOutcome { Send, Stop };

// Texts of the checks, in the order they are made.
std::string_view ringTooFastText();            // refused: a ring faster than every 2 s
std::string_view modemOutputTooFastText();     // refused: immediate start, modem output, faster than 2 s
std::string_view fastRateText();               // asked: the logger stops answering while it records
std::string memoryErasedText();                // asked: memory erased, clock set to the PC's
std::string_view fastTriggerBatteryText();     // asked: a fast rate on a channel-1 trigger drains the battery
std::string_view presetStartPassedText();      // asked: the preset start has passed, recording starts now

// The questions of a configuration in order, each with what its answer does.
ValidationOutcome validateConfiguration(const setup::LoggerConfiguration& config, const ValidationContext& context,
                                        const ValidationAsker& ask);

}  // namespace brevik::setup
