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
  int step = 0;  // 1-7, the order of the checks
  std::string text;
  ValidationButtons buttons = ValidationButtons::Ok;
};

// Returns true for OK, false for Cancel (or a closed box).
using ValidationAsker = std::function<bool(const ValidationQuestion&)>;

struct ValidationContext {
  DateTime now;
  // A command-line send or an auto-answered call: nobody is there to be told
  // that the memory will be erased, so the questions from step 5 on are not
  // asked.
  bool unattended = false;
  // "Change Scaling and/or Labels" keeps the logger recording: no checks.
  bool labelsOnly = false;
};

enum class ValidationOutcome { Send, Stop };

// Texts of the steps.
std::string_view ringTooFastText();            // step 1
std::string_view modemOutputTooFastText();     // step 2
std::string_view fastRateText();               // step 3
std::string memoryErasedText();                // step 5
std::string_view fastTriggerBatteryText();     // step 6
std::string_view presetStartPassedText();      // step 7

// The questions of a configuration in order, each with what its answer does.
ValidationOutcome validateConfiguration(const setup::LoggerConfiguration& config, const ValidationContext& context,
                                        const ValidationAsker& ask);

}  // namespace brevik::setup
