#pragma once
// Auto-answer mode: the PC waits for a site modem to call in, serves the call
// unattended and waits again, for as long as the mode is on. brevik's main
// window and `kaldo answer` run this one model; it is driven only by the
// auto-answer port and the tick scheduler, and serves each call through the
// exchange engine as an answered call.
//
//   prepare     open the auto-answer port; +++ and ATH with 20-tick pauses
//               hang up whatever call was left over
//   waiting     a line that starts with "CONNECT" is a call: the port closes
//   delay       Timer1 counts five seconds for the modems to settle
//   serving     a Status exchange as an answered call (the engine goes on to
//               the download and, 36 s later, the configuration); every
//               outcome, good or bad, is one entry in the unattended log
//   hang-up     +++ and ATH on the auto-answer port, then waiting again
//
// Lines the modem sends outside "waiting" (the end of a call, a modem that
// keeps talking after ATH) are dropped with the port's input, so they never
// start a call; a ring while a call is served reaches the link port, whose
// exchange takes it for noise.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "settings/logger_settings.h"
#include "link/exchange_engine.h"
#include "link/serial_port.h"
#include "link/tick_scheduler.h"

namespace brevik::program {

inline constexpr std::string_view kWaitForConnectText = "WaitForConnect";
inline constexpr std::string_view kConnectStart = "CONNECT";
// Logged when the auto-answer port cannot be opened; the mode tries again
// every half minute and logs again only once the port worked in between.
inline constexpr std::string_view kAnswerPortFailedText = "Auto answer: the port cannot be opened: ";
// Logged when a served call has not ended within its limit (a link that
// neither answers nor lets go); the call is cut and the modem hung up.
inline constexpr std::string_view kCallCutText = "Auto answer: call cut after ";

// Logged when a served call ended without reporting anything, and when the
// mode is stopped while a call is served.
inline constexpr std::string_view kCallEndedSilentlyText = "Auto answer: the call ended with nothing logged";
inline constexpr std::string_view kStoppedDuringCallText = "Auto answer stopped during a call";

enum class AutoAnswerState { Off, Preparing, Waiting, Delay, Serving, HangingUp };

// What a shell shows of the mode. Every member has a default that does nothing.
class AutoAnswerView {
 public:
  virtual ~AutoAnswerView() = default;
  // aaEditbox: "WaitForConnect", then the modem's connect line.
  virtual void answerText(std::string_view /*text*/) {}
  // aaEditbox hidden: the delay is over and the call is served.
  virtual void callServed() {}
  // The call is over and the modem hung up; `served` counts the calls so far.
  virtual void callEnded(std::uint64_t /*served*/) {}
  // A line of the mode's own for the unattended log (the engine logs the
  // calls themselves through the exchange host).
  virtual void logEntry(std::string_view /*text*/) {}
};

class AutoAnswer {
 public:
  // Ticks between tries to open an auto-answer port that failed.
  static constexpr link::Ticks kPortRetryTicks = 546;
  // The pauses around "+++" and "ATH".
  static constexpr link::Ticks kModemPause = 20;
  static constexpr int kDelaySeconds = 5;

  AutoAnswer(link::SerialPort& answerPort, link::TickScheduler& ticks, link::ExchangeEngine& engine,
             const settings::LoggerSettings& settings, AutoAnswerView& view);
  ~AutoAnswer();
  AutoAnswer(const AutoAnswer&) = delete;
  AutoAnswer& operator=(const AutoAnswer&) = delete;

  // Enters the mode (nothing when it is on already).
  void enter();
  // Leaves it: a call being served is stopped (a download in progress keeps
  // no file), pending steps are forgotten and the port is left closed.
  void leave();
  // The exchange host's auto-answer hang-up: the call is over.
  void callOver();
  // Ends the mode as a service stops: a call being served is cut and the
  // modem hung up first; `done` runs once the port is closed.
  void stopAfterHangUp(std::function<void()> done);

  AutoAnswerState state() const { return state_; }
  bool on() const { return state_ != AutoAnswerState::Off; }
  std::uint64_t callsServed() const { return served_; }
  // Timer1's count during the delay (0 outside it).
  int delayCount() const { return delayCount_; }
  // True once the first preparation could not open the port (kaldo answer
  // gives up then rather than retry a device that is not there).
  bool firstOpenFailed() const { return firstOpenFailed_; }

  // The longest a served call may last before it is cut: a whole download,
  // two status reads, the 36 s before the configuration and its sending.
  static link::Ticks callLimit();

 private:
  void prepare();
  // Writes on the auto-answer port, traced with the exchanges.
  void write(std::string_view bytes);
  void afterPause(std::function<void()> step);
  void wait();
  void onData();
  void connected(std::string line);
  void delayTick(int k, link::Ticks start);
  void serve();
  void onOutcome();
  void hangUp();
  void cutCall();
  void cancelPending();
  void setState(AutoAnswerState state) { state_ = state; }

  link::SerialPort& port_;
  link::TickScheduler& ticks_;
  link::ExchangeEngine& engine_;
  const settings::LoggerSettings& settings_;
  AutoAnswerView& view_;

  AutoAnswerState state_ = AutoAnswerState::Off;
  link::TickScheduler::StepId pending_ = 0;
  link::TickScheduler::StepId watchdog_ = 0;
  std::string line_;
  std::uint64_t served_ = 0;
  std::uint64_t generation_ = 0;
  int delayCount_ = 0;
  bool portFailureLogged_ = false;
  bool portEverOpened_ = false;
  bool firstOpenFailed_ = false;
  std::function<void()> stopped_;
};

}  // namespace brevik::program
