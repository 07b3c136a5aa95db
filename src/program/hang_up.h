#pragma once
// Hanging up a modem from the command line (mode "h"): the DTR line is
// pulsed, then the modem is taken to command mode with "+++" and told "ATH",
// twice over, with the pauses modems need around the escape sequence. Every
// wait is a scheduled step, so the program stays responsive while it runs.
//
//   tick   0  open COM<PortNumber> at BaudRate, DTR up
//          4  DTR down
//         13  DTR up
//         50  "+++"          78  "ATH" CR
//        106  "+++"         134  "ATH" CR, close

#include <functional>
#include <string>

#include "settings/logger_settings.h"
#include "settings/unattended_log.h"
#include "common/result.h"
#include "link/exchange_engine.h"
#include "link/serial_port.h"
#include "link/tick_scheduler.h"

namespace brevik::program {

class ModemHangUp {
 public:
  // Runs once when the sequence ended and the port is closed: ok, or the
  // first failure of the port (PortUnavailable) — then the modem may still
  // be off hook.
  using Done = std::function<void(Status)>;

  ModemHangUp(link::SerialPort& port, link::TickScheduler& scheduler);
  ~ModemHangUp();  // a sequence still running is abandoned and the port closed
  ModemHangUp(const ModemHangUp&) = delete;
  ModemHangUp& operator=(const ModemHangUp&) = delete;

  // Starts the sequence on the settings' port and speed. A port that cannot
  // be opened ends the sequence at once (Done runs from a scheduled step,
  // never from inside start()).
  void start(const settings::LoggerSettings& settings, Done done);

  bool running() const { return running_; }

 private:
  void runFrom(std::size_t index);
  void finish(Status status);

  link::SerialPort* port_;
  link::TickScheduler* scheduler_;
  Done done_;
  Status firstFailure_;
  link::TickScheduler::StepId pending_ = 0;
  bool running_ = false;
};

// The log line of an "h" run: "session finished, modem on hook" when the
// sequence ran, else a line saying why the modem may still be off hook.
std::string hangUpLogText(const Status& outcome);

// Hangs up and writes the "h" log line anew, then hands `ended` the
// sequence's outcome and the quit request (which must not ask for a second
// hang-up). `log` must outlive the sequence. The program and kaldo's hangup
// share it so that both leave the same log.
using HangUpEnded = std::function<void(const Status& outcome, settings::QuitRequest request)>;
void hangUpAndLog(ModemHangUp& hangUp, const settings::LoggerSettings& settings, const settings::UnattendedLog& log,
                  HangUpEnded ended);

// The whole "h" mode: hangUpAndLog, then the quit request goes to `quit`.
// `log` must outlive the sequence (the Program owns it).
void hangUpAndQuit(ModemHangUp& hangUp, const settings::LoggerSettings& settings, const settings::UnattendedLog& log,
                   std::function<void(settings::QuitRequest)> quit);

// The hang-up of a call the program dialled (HangUpBtn, the end of a kaldo
// command that dialled, closing the program): with a call up and the port
// open, DTR rises, drops 4 ticks later and rises again 9 ticks after that;
// 9 ticks on, the port closes. The call is down then, whatever the port did.
// Without a call nothing is sent and `done` runs from a scheduled step.
// The engine, the port and the scheduler must outlive the sequence.
void hangUpCall(link::ExchangeEngine& engine, link::SerialPort& port, link::TickScheduler& ticks,
                std::function<void()> done);

}  // namespace brevik::program
