#pragma once
// A PC that only answers site modems: auto-answer mode with no window, as
// `kaldo answer` runs it. The device is shared by the auto-answer port and
// the link port of the exchanges (port_share.h); every call is served by the
// program's own exchange steps (status, download into the home, the
// configuration of the current setup file sent again) and every line the
// run leaves in QXLOG.TXT is handed to `printLine` as well.

#include <functional>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "common/prompter.h"
#include "link/exchange_engine.h"
#include "link/exchange_trace.h"
#include "link/status_reply_flow.h"
#include "program/auto_answer.h"
#include "program/port_share.h"
#include "program/program.h"
#include "program/receive_assembly.h"
#include "program/setup_configuration_source.h"

namespace brevik::program {

class AnsweringStation final : private link::ExchangeHost,
                               private link::StatusReplySteps,
                               private link::ExchangeObserver,
                               private Prompter,
                               private AutoAnswerView {
 public:
  // A log line as it went to QXLOG.TXT (Windows-1252, without the date).
  using PrintLine = std::function<void(std::string_view line)>;

  // `program` holds the settings, the home, the log and the setup document;
  // the current setup file is loaded as the program's start-up does.
  AnsweringStation(link::SerialPort& device, link::TickScheduler& ticks, Program& program, PrintLine printLine);
  ~AnsweringStation() override;
  AnsweringStation(const AnsweringStation&) = delete;
  AnsweringStation& operator=(const AnsweringStation&) = delete;

  void setTraceSink(link::TraceSink* sink) { engine_.setTraceSink(sink); }

  // What start-up said of the setup file ("Setup File: ... not found;"),
  // when it could not be read and the default record is sent instead.
  const std::optional<std::string>& setupProblem() const { return setupProblem_; }

  AutoAnswer& answer() { return answer_; }
  const link::ExchangeEngine& engine() const { return engine_; }
  // Lines logged so far in this run.
  std::uint64_t linesLogged() const { return linesLogged_; }

 private:
  // ExchangeHost
  void logEntry(std::string_view text) override;
  void logAndQuit(std::string_view text) override { logEntry(text); }
  void hangUpModem() override { engine_.setCallUp(false); }
  void autoAnswerHangUp() override { answer_.callOver(); }

  // StatusReplySteps
  protocol::StatusDecodeResult decode(std::string_view reply) override;
  void fillStatusForm(const protocol::LoggerStatus& status) override;
  void showStatusForm() override {}
  std::optional<std::string> csvFileName() const override { return std::nullopt; }
  Status appendReadingsLine(const std::string&, const protocol::LoggerStatus&) override { return {}; }
  std::string autoAnswerFileName(const protocol::LoggerStatus& status) override;
  Status startDownload(const protocol::LoggerStatus& status) override { return receive_.startDownload(status); }

  // ExchangeObserver: nobody watches
  void exchangeStarted(const link::ExchangeDisplay&) override {}
  void stepText(std::string_view) override {}
  void meter(int) override {}
  void blockCount(std::uint32_t) override {}
  void abortAvailable(bool) override {}
  void exchangeEnded() override {}

  // Prompter: nobody answers; every box counts as closed.
  Answer ask(const Message& message) override;

  Program& program_;
  PrintLine printLine_;
  PortShare share_;
  link::ExchangeEngine engine_;
  link::StatusReplyFlow flow_;
  ReceiveAssembly receive_;
  SetupConfigurationSource configuration_;
  AutoAnswer answer_;
  std::optional<std::string> setupProblem_;
  std::uint64_t linesLogged_ = 0;
};

}  // namespace brevik::program
