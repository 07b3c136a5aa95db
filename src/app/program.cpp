#include "app/program.h"

namespace brevik::app {

Program::Program(std::filesystem::path homeDir, const Clock& clock)
    : home_(std::move(homeDir)),
      clock_(&clock),
      settings_(loadSettings(home_)),
      globals_(initialGlobals(settings_)),
      log_(home_, clock) {}

StartupAction Program::applyCommandLine(const std::vector<std::string>& positional) {
  CommandLineOutcome outcome = app::applyCommandLine(positional, settings_);
  settings_ = std::move(outcome.settings);
  globals_.flags = outcome.flags;
  globals_.currentDataFileName = std::move(outcome.currentDataFileName);
  commandLineFile_ = std::move(outcome.fileArgument);
  action_ = outcome.action;
  if (action_ == StartupAction::LogAndQuit) logAndQuit(outcome.logText);
  return action_;
}

void Program::logAndQuit(std::string_view message) { quit_ = log_.logAndQuit(message); }

Status Program::saveAtShutdown() {
  if (settings_.BaudRate > 19200 && settings_.FastProtocol == 0) settings_.FastProtocol = 1;
  return saveSettings(home_, settings_);
}

}  // namespace brevik::app
