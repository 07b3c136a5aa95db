#pragma once
// The exchange engine: one state machine that runs every conversation with a
// logger, from OpenLink to EndExchange. It is driven only by the serial
// port's data callback and by the tick scheduler (the one time-out and the
// short waits between steps); it owns no timer and never blocks.
//
// A caller starts an exchange with start(request, callback) and learns that
// it ended, and how, from the one outcome given to the callback. The link
// context is the engine's own: the later steps of an exchange that live in
// the link (status reply, download) share it; nobody outside does.
//
// Reading guide: onDataAvailable() and onTimeout() switch on LinkState; each
// state has one "line" and one "time-out" handler below, named after it.

#include <array>
#include <cstdint>
#include <memory>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settings/logger_settings.h"
#include "common/prompter.h"
#include "common/result.h"
#include "link/exchange_hooks.h"
#include "link/exchange_trace.h"
#include "link/link_context.h"
#include "link/exchange_observer.h"
#include "link/exchange_request.h"
#include "link/kind_steps.h"
#include "link/modem_utilities.h"
#include "link/reporting.h"
#include "link/serial_port.h"
#include "link/tick_scheduler.h"

namespace brevik::link {

struct LinkPorts {
  SerialPort& port;
  TickScheduler& ticks;
  ExchangeObserver& observer;
  Prompter& prompter;
  ExchangeHost& host;
};

class ExchangeEngine {
 public:
  ExchangeEngine(LinkPorts ports, settings::LoggerSettings& settings);
  ~ExchangeEngine();
  ExchangeEngine(const ExchangeEngine&) = delete;
  ExchangeEngine& operator=(const ExchangeEngine&) = delete;

  // ---- hooks (optional) ----
  void setStatusReplyHandler(StatusReplyHandler* h) { statusReplies_ = h; }
  void setDownloadSession(DownloadSession* d) { download_ = d; }
  void setReadingsView(ReadingsView* r) { readings_ = r; }
  void setConfigurationSource(ConfigurationSource* c) { configuration_ = c; }
  void setTraceSink(TraceSink* sink) { trace_.setSink(sink); }

  // What the link knows now, for the windows' look and for tests to read.
  const LinkContext& context() const { return ctx_; }
  settings::LoggerSettings& settings() { return settings_; }
  const ExchangeHost& host() const { return host_; }
  ExchangeTrace& trace() { return trace_; }

  // ---- starting and ending ----
  // Starts the exchange `request` asks for; `done` hears its outcome once.
  // An exchange still running (a real-time display that a wake-up ends) is
  // over first: its outcome goes to its own callback, as succeeded.
  void start(ExchangeRequest request, OutcomeCallback done);
  // An exchange is running: the windows keep their commands locked.
  bool running() const { return outcomePending_; }
  const ExchangeRequest& request() const { return request_; }
  // Ends the running exchange where it stands (a real-time display the user
  // closes, a command that must end the real-time graph, a time limit).
  void stop();
  // AbortBtn.
  void abort();
  // Ends an answered call from outside (its mode left, a stop, a call that
  // went on too long): Timer2 stops, what is still queued for the logger is
  // dropped so that the modem hears the hang-up, and the port closes.
  void cutCall();
  // A modem call is up (the modem steps connected) or not (hung up).
  void setCallUp(bool up);
  // The digits of the last identification line, for the status display.
  const std::optional<IdentificationDigits>& identificationDigits() const { return identification_; }

  // ---- for the later steps of an exchange ----
  // Opens the link again for the same request (a retry, or an answered call
  // that goes on to its download).
  void openLink();
  void endExchange();
  // The exchange did what it was asked; a report after this may still fail it.
  void succeed() { outcome_.succeeded = true; }
  void fail() { outcome_.succeeded = false; }
  void noteFileWritten(std::string fileName) { outcome_.fileWritten = std::move(fileName); }
  void noteScheduleText(std::string text) { outcome_.scheduleText = std::move(text); }
  // The status request ("B" over a modem or radio, else "C").
  void sendStatusRequest(std::optional<std::uint8_t> address = std::nullopt);
  // Moves the open port to `baud` (traced).
  Status setPortBaud(std::uint32_t baud);

  // ---- the two events ----
  void onDataAvailable();
  void onTimeout();

  // ---- operations for the later steps of an exchange ----
  // Frames `body` for this logger (or with `address` when given), keeps it as
  // the last command and sends it.
  void sendCommand(std::string_view body, std::optional<std::uint8_t> address = std::nullopt);
  void sendFramed(const std::string& framed);
  void setState(LinkState state);
  void armTimeout(Ticks ticks);
  void disarmTimeout();
  void clearReceive();
  // Runs `step` after `ticks` unless the exchange ends first; data arriving
  // meanwhile are only collected.
  void wait(Ticks ticks, std::function<void()> step);
  // Sends `framed` again once the answer to the last command can no longer
  // be on its way: after that command's reply window and a quiet line. What
  // arrives meanwhile is dropped, so a late answer to the first request
  // cannot pass for the answer to the resend.
  void sendAgainWhenQuiet(const std::string& framed);
  // The one reporting rule; returns the button chosen (Ok when nothing was
  // asked).
  Answer report(const Report& report);
  // The same rule for a text that no running exchange reports (a set-up file
  // that cannot be read before a send), for a program running as `run` says.
  Answer report(const Report& report, const RunMode& run);
  // A line in the unattended log that ends nothing ("Data written to ...").
  void logEntry(std::string_view text);
  // Timer2: 36 seconds (after `delay` ticks), then the configuration is
  // sent again.
  void startTimer2(Ticks delay = 0);
  void stopTimer2();
  // Timer2 counts towards the configuration sent again.
  bool timer2Running() const { return timer2_ != 0; }
  // The frame address of this exchange's commands.
  std::uint8_t frameAddressNow() const;

 private:
  friend class StatusReplyFlow;
  friend class MemoryDownload;
  friend class KindSteps;
  friend class ModemUtilitySteps;
  LinkContext& linkContext() { return ctx_; }

  // Every way into the engine (port data, timer, delayed step, a call from
  // outside) runs as one step; when the outermost step leaves the engine
  // idle, the outcome is delivered.
  class Step;
  void deliverIfEnded();
  TickScheduler::StepId after(Ticks ticks, std::function<void()> step);

  // OpenLink steps
  void openPortAndContinue();
  void afterPortOpened();
  void failOpen(const Error& error);
  void startWakeUp();
  void sendWakeBurst();
  void dtrPulse(std::function<void()> then);
  void baudSwitch(std::function<void()> then);

  // Dialling out (ModemSetup, Dialling, Connected)
  void beginModemSetup();
  void sendModemCommand(LinkState state, std::string command);
  void onModemLine();
  void onModemTimeout();
  void reportBusy();

  // per state
  void actOnState();
  void onWakeReplyData();
  void onWakeReplyTimeout();
  void onIdentificationLine();
  void onIdentificationTimeout();
  void identifiedByOneCharacter();
  void onFastStartTimeout();
  void dispatchKind();
  void onReplyLine();
  void onIdentifyReply(std::string line);
  void onReplyTimeout();
  void onNoReplyTimeout();
  void onDataLine();
  void onDataTimeout();
  void onScheduleLine();

  // Timer1 (wake-up meter)
  void startTimer1();
  void stopTimer1();
  void timer1Tick(Ticks start, int k);
  void timer2Tick(Ticks start, int k);

  bool modemOrWireless() const;
  void whenQuiet(Ticks notBefore, Ticks giveUpAt, std::function<void()> step);

  SerialPort& port_;
  TickScheduler& ticks_;
  ExchangeObserver& observer_;
  Prompter& prompter_;
  ExchangeHost& host_;
  settings::LoggerSettings& settings_;

  // The steps of each kind, by kind number.
  std::array<std::unique_ptr<KindSteps>, 10> kinds_;
  KindSteps& stepsOf(ExchangeKind kind);

  StatusReplyHandler* statusReplies_ = nullptr;
  DownloadSession* download_ = nullptr;
  // The running modem utility (RemoteModemSetup, ComTest).
  std::unique_ptr<ModemUtility> utility_;
  ReadingsView* readings_ = nullptr;
  ConfigurationSource* configuration_ = nullptr;

  LinkContext ctx_;
  ExchangeTrace trace_;

  ExchangeRequest request_;
  OutcomeCallback done_;
  ExchangeOutcome outcome_;
  bool outcomePending_ = false;
  int stepDepth_ = 0;
  std::optional<IdentificationDigits> identification_;

  // Continuations belong to one exchange: ending it (or opening the link
  // again) makes the pending ones void.
  std::uint64_t generation_ = 0;
  int waitsPending_ = 0;
  int meter_ = 0;
  // When the time-out of the last command sent falls due, and when bytes
  // last arrived.
  Ticks replyWindowEnd_ = 0;
  Ticks lastArrival_ = 0;
  TickScheduler::StepId timer1_ = 0;
  TickScheduler::StepId timer2_ = 0;
};

}  // namespace brevik::link
