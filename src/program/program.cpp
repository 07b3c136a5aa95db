#include "program/program.h"

namespace brevik::program {

Program::Program(std::filesystem::path homeDir, const Clock& clock)
    : home_(std::move(homeDir)),
      clock_(&clock),
      settings_(settings::loadSettings(home_)),
      globals_(settings::initialGlobals(settings_)),
      log_(home_, clock),
      graph_(settings_, home_, globals_.productTitle),
      settingsWarning_(settings::outOfRangeWarning(settings::checkSettingsFile(home_))) {}

settings::StartupAction Program::applyCommandLine(const std::vector<std::string>& positional) {
  settings::CommandLineOutcome outcome = settings::applyCommandLine(positional, settings_);
  settings_ = std::move(outcome.settings);
  globals_.flags = outcome.flags;
  globals_.currentDataFileName = std::move(outcome.currentDataFileName);
  commandLineFile_ = std::move(outcome.fileArgument);
  commandLineDialsNumber_ = positional.size() >= 4 && positional[3].size() >= 5;
  action_ = outcome.action;
  if (action_ == settings::StartupAction::LogAndQuit) logAndQuit(outcome.logText);
  return action_;
}

void Program::logAndQuit(std::string_view message) { quit_ = log_.logAndQuit(message); }

Status Program::saveAtShutdown() {
  if (settings_.BaudRate > 19200 && settings_.FastProtocol == 0) settings_.FastProtocol = 1;
  return settings::saveSettings(home_, settings_);
}

}  // namespace brevik::program
