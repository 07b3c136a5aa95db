#pragma once
// QXLOG.TXT, the unattended log in the program home. Runs that nobody
// watches (a command-line action, an auto-answered call) write what happened
// here instead of showing message boxes. Each entry is one line:
//
//     <message> <short date> <long time>CR LF
//
// Lines end in CR LF on every system, so the file reads the same wherever it
// is copied to. Writing the log never fails loudly: a log that cannot be
// written must not stop an unattended run, so errors are dropped.

#include <filesystem>
#include <string>
#include <string_view>

#include "common/clock.h"

namespace brevik::settings {

inline constexpr std::string_view kUnattendedLogName = "QXLOG.TXT";
inline constexpr std::string_view kLogLineEnd = "\r\n";

// One line of the log, line end included (Windows-1252 message).
std::string unattendedLogLine(std::string_view message, const Clock& clock);

// Returned by log and quit: the caller hangs up the modem and ends the
// program without saving the Logger Settings.
struct [[nodiscard]] QuitRequest {
  bool hangUpModem = true;
  bool saveSettings = false;
};

class UnattendedLog {
 public:
  UnattendedLog(std::filesystem::path homeDir, const Clock& clock)
      : path_(std::move(homeDir) / kUnattendedLogName), clock_(&clock) {}

  const std::filesystem::path& path() const { return path_; }

  // Appends a line, creating the file when it does not exist.
  void entry(std::string_view message) const;

  // Replaces the file with this one line and asks the caller to quit.
  QuitRequest logAndQuit(std::string_view message) const;

 private:
  std::filesystem::path path_;
  const Clock* clock_;
};

}  // namespace brevik::settings
