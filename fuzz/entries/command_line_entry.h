#pragma once
// Fuzz entry: brevik's start-up command line, NUL-separated arguments. The
// long options come apart from the positional ones, and the positional
// ones always give an action; a refused command line says why.

#include <string>
#include <vector>

#include "entry_support.h"
#include "settings/command_line.h"

namespace brevik::fuzzing {

inline void readStartupCommandLine(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> argv = splitAt(bytesAsText(data, size), '\0', 8);
  const auto split = settings::splitProgramArguments(argv);
  if (!split) {
    require(!split.error().message.empty());
    return;
  }
  const settings::LoggerSettings before;
  const settings::CommandLineOutcome outcome = settings::applyCommandLine(split->positional, before);
  require(outcome.action != settings::StartupAction::LogAndQuit || !outcome.logText.empty());
  require(outcome.action != settings::StartupAction::None || split->positional.empty());
  const auto record = settings::LoggerSettings::fromRecord(outcome.settings.toRecord());
  require(record.ok() && record->toRecord() == outcome.settings.toRecord());
  for (const std::string& argument : argv) (void)settings::upperExtension(argument);
}

}  // namespace brevik::fuzzing
