#pragma once
// The program's global state, owned once for the whole run and handed to the
// windows and to kaldo. Start-up is: construct (home chosen, settings loaded,
// globals derived), then applyCommandLine(); shutdown is saveAtShutdown()
// unless a quit was requested by log and quit.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/command_line.h"
#include "settings/logger_settings.h"
#include "settings/runtime_globals.h"
#include "settings/unattended_log.h"
#include "common/clock.h"
#include "common/result.h"
#include "graph/graph_model.h"
#include "setup/setup_document.h"

namespace brevik::program {

class Program {
 public:
  // Loads kvlog.ini from the home (defaults when missing) and sets the
  // run-time globals from it.
  Program(std::filesystem::path homeDir, const Clock& clock);

  const std::filesystem::path& home() const { return home_; }
  const Clock& clock() const { return *clock_; }
  settings::LoggerSettings& settings() { return settings_; }
  const settings::LoggerSettings& settings() const { return settings_; }
  settings::RuntimeGlobals& globals() { return globals_; }
  const settings::RuntimeGlobals& globals() const { return globals_; }
  const settings::UnattendedLog& unattendedLog() const { return log_; }
  // The warning naming the fields of kvlog.ini that read as their defaults
  // because they were out of range ("" when none).
  const std::string& settingsWarning() const { return settingsWarning_; }
  // The Logger Configuration: the current record, its saved copy and the
  // form that edits it. The setup window, the sends and kaldo use this one.
  setup::SetupDocument& setup() { return setup_; }
  const setup::SetupDocument& setup() const { return setup_; }

  // Reads the positional command line into the settings and flags. An
  // invalid one is logged at once (log and quit) and requests the quit.
  // The HangUp action is left to the caller, which owns the serial port.
  settings::StartupAction applyCommandLine(const std::vector<std::string>& positional);
  settings::StartupAction startupAction() const { return action_; }
  // Argument 1 of the command line (the main window's action reads it).
  const std::string& commandLineFile() const { return commandLineFile_; }
  // Argument 4 gave the number to dial itself (five characters or more), so
  // the phone book does not choose it.
  bool commandLineDialsNumber() const { return commandLineDialsNumber_; }

  // Log and quit through the one unattended log; remembers the request.
  void logAndQuit(std::string_view message);
  void requestQuit(settings::QuitRequest request) { quit_ = request; }
  const std::optional<settings::QuitRequest>& quitRequest() const { return quit_; }

  // The main window closing: a rate above 19200 only works with the fast
  // protocol, so it is switched on; then kvlog.ini is written.
  Status saveAtShutdown();

  // The loaded data file as the graph shows it (and the export writes it).
  graph::GraphModel& graph() { return graph_; }

 private:
  std::filesystem::path home_;
  const Clock* clock_;
  settings::LoggerSettings settings_;
  settings::RuntimeGlobals globals_;
  settings::UnattendedLog log_;
  graph::GraphModel graph_;
  setup::SetupDocument setup_;
  settings::StartupAction action_ = settings::StartupAction::None;
  std::string commandLineFile_;
  bool commandLineDialsNumber_ = false;
  std::string settingsWarning_;
  std::optional<settings::QuitRequest> quit_;
};

}  // namespace brevik::program
