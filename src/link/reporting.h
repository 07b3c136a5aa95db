#pragma once
// How the end of an exchange reaches the user: the one rule that decides
// between the unattended log, log-and-quit and a message box.

#include <optional>
#include <string>

#include "common/prompter.h"

namespace brevik::link {

// Which command-line modes turn a message box into log-and-quit.
enum class CommandLineFlags { None, Receive, Setup, ReceiveOrSetup };

struct Report {
  Message message;                       // the message box
  CommandLineFlags commandLine = CommandLineFlags::None;
  std::optional<std::string> logText;    // the log line, when it differs from the message
  std::optional<std::string> quitText;   // the log-and-quit line, when it differs again
};

enum class ReportRoute {
  AutoAnswerLog,  // log entry, call hung up, wait for the next call
  LogAndQuit,     // log and end the program
  MessageBox,
};

ReportRoute routeReport(bool autoAnswerCall, CommandLineFlags flags, bool commandLineReceive,
                        bool commandLineSetup);

}  // namespace brevik::link
