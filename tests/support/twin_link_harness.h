#pragma once
// The real exchange engine talking to one or more virtual loggers over the
// virtual line, in virtual time: the program's side of a link end to end,
// with the real status reply handling (decode with the shipped tables), a
// scripted prompter and link view, and the exchange trace kept as lines.

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/logger_settings.h"
#include "common/clock.h"
#include "link/exchange_engine.h"
#include "link/status_reply_flow.h"
#include "link/virtual_link_driver.h"
#include "link/virtual_ticks.h"
#include "protocol/status_texts.h"
#include "sim/logger_profile.h"
#include "sim/logger_twin.h"
#include "sim/virtual_modem.h"
#include "sim/virtual_serial_port.h"
#include "support/recording_host.h"
#include "support/scripted_observer.h"
#include "support/scripted_prompter.h"
#include "support/outcome_recorder.h"
#include "support/trace_lines.h"

namespace brevik::testing {

// The PC's clock and the time the twins take their missing dates from.
DateTime twinLinkNow();

// The status reply steps of the program, minus the files: the real decode
// with the settings and the tables of data/, the status form kept as texts.
class TwinStatusSteps final : public link::StatusReplySteps {
 public:
  TwinStatusSteps(settings::LoggerSettings& settings, const Clock& clock) : settings_(settings), clock_(clock) {}

  protocol::StatusDecodeResult decode(std::string_view reply) override;
  void fillStatusForm(const protocol::LoggerStatus& status) override;
  void showStatusForm() override { ++formsShown; }
  std::optional<std::string> csvFileName() const override { return std::nullopt; }
  Status appendReadingsLine(const std::string& fileName, const protocol::LoggerStatus& status) override;
  std::string autoAnswerFileName(const protocol::LoggerStatus& status) override;
  // Counts the download, then runs `beginDownload` or, without one, ends the
  // exchange: the memory download itself is not served here.
  Status startDownload(const protocol::LoggerStatus& status) override;

  void setEngine(link::ExchangeEngine* engine) { engine_ = engine; }

  std::vector<protocol::StatusOutcome> outcomes;
  std::optional<protocol::StatusForm> form;
  int formsShown = 0;
  int downloads = 0;
  std::function<void()> beginDownload;

 private:
  settings::LoggerSettings& settings_;
  const Clock& clock_;
  link::ExchangeEngine* engine_ = nullptr;
};

class TwinLinkHarness {
 public:
  // A direct link, normal protocol at 9600, no network.
  TwinLinkHarness();
  ~TwinLinkHarness();
  TwinLinkHarness(const TwinLinkHarness&) = delete;
  TwinLinkHarness& operator=(const TwinLinkHarness&) = delete;

  // Puts a logger on the line, from profile text or a profile of data/sim.
  // The first logger also sets the link's baud and protocol to its own.
  sim::LoggerTwin& addTwin(std::string_view profileText);
  sim::LoggerTwin& addShippedTwin(std::string_view name);
  sim::LoggerTwin& twin(std::size_t i = 0) { return twins_.at(i); }
  // Puts a Hayes modem on the line instead, from a profile with
  // `modem = hayes`; the link's baud and protocol become its logger's.
  sim::VirtualModem& addModem(std::string_view profileText);

  // Starts an exchange of `kind` with what the test put in `next`.
  void start(link::ExchangeKind kind);
  // Runs virtual time until the exchange has ended (true) or `limit` ticks
  // have passed (false).
  bool runUntilEnded(link::Ticks limit = 3000);
  // A Status exchange from start to end; true when it ended in time.
  bool runStatus();

  const link::LinkContext& ctx() const { return engine.context(); }
  const link::ExchangeOutcome& outcome() const { return recorder.last(); }
  const std::vector<std::string>& trace() const { return traceLines_.lines; }
  // Trace lines containing `part`.
  std::vector<std::string> traced(std::string_view part) const;
  // Framed commands as they went out (">" + text, without CR).
  std::vector<std::string> frames() const;
  std::vector<std::string> messageTexts() const;
  // The decoded status of the last accepted reply.
  const std::optional<protocol::LoggerStatus>& status() const { return flow.lastStatus(); }
  // A text of the status form as shown ("" when hidden or without a form).
  std::string formText(std::string_view component) const;

 private:
  std::deque<sim::LoggerTwin> twins_;
  std::unique_ptr<sim::VirtualModem> modem_;  // outlives the port, as the twins do

 public:
  link::VirtualTicks ticks;
  sim::VirtualSerialPort port{ticks};
  ScriptedObserver observer;
  ScriptedPrompter prompter;
  RecordingHost host;
  settings::LoggerSettings settings;
  FixedClock clock{twinLinkNow()};
  link::ExchangeEngine engine{{port, ticks, observer, prompter, host}, settings};
  TwinStatusSteps steps{settings, clock};
  link::StatusReplyFlow flow{engine, steps};
  ReadingsRecorder readings;
  link::ExchangeRequest next;
  OutcomeRecorder recorder;
  link::VirtualLinkDriver driver{port, ticks};

 private:
  sim::LoggerTwin& attach(sim::LoggerProfile profile);
  TraceLines traceLines_;
};

}  // namespace brevik::testing
