#include "program/answering_station.h"

#include "program/status_decoding.h"

namespace brevik::program {

AnsweringStation::AnsweringStation(link::SerialPort& device, link::TickScheduler& ticks, Program& program,
                                   PrintLine printLine)
    : program_(program),
      printLine_(std::move(printLine)),
      share_(device),
      engine_({share_.linkPort(), ticks, *this, *this, *this}, program.settings()),
      flow_(engine_, *this),
      // The data files of the calls, and their CSV copies, go to the home.
      receive_(engine_, *this, program.clock(), program.settings(), ReceivePlaces{program.home(), program.home()},
               [](std::string_view, bool) {}),
      configuration_(program.setup().current, program.settings(), engine_.context(), program.clock()),
      answer_(share_.answerPort(), ticks, engine_, program.settings(), *this) {
  engine_.setStatusReplyHandler(&flow_);
  engine_.setConfigurationSource(&configuration_);
  settings::LoggerSettings& settings = program_.settings();
  const setup::SetupDocument::Startup startup =
      program_.setup().loadAtStartup(settings.SetupFileName, program_.home(), program_.clock());
  settings.SetupFileName = startup.setupFileName;
  setupProblem_ = startup.notFound;
}

AnsweringStation::~AnsweringStation() {
  engine_.setStatusReplyHandler(nullptr);
  engine_.setConfigurationSource(nullptr);
}

void AnsweringStation::logEntry(std::string_view text) {
  program_.unattendedLog().entry(text);
  ++linesLogged_;
  if (printLine_) printLine_(text);
}

Answer AnsweringStation::ask(const Message& message) {
  // Nothing an exchange would show may be lost on a PC nobody watches.
  logEntry(message.text);
  return answerOfClosedBox(message.buttons);
}

protocol::StatusDecodeResult AnsweringStation::decode(std::string_view reply) {
  return decodeStatusInHome(reply, program_.settings(), program_.home(), program_.clock());
}

void AnsweringStation::fillStatusForm(const protocol::LoggerStatus&) {
  // The configuration sent again is built for the logger that called.
  const auto& last = flow_.lastStatus();
  configuration_.setLastStatus(last ? &*last : nullptr);
}

std::string AnsweringStation::autoAnswerFileName(const protocol::LoggerStatus& status) {
  return answeredCallFileName(status.session, program_.settings(), program_.home());
}

}  // namespace brevik::program
