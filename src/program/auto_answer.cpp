#include "program/auto_answer.h"

#include <utility>

#include "program/run_exchange.h"

namespace brevik::program {

namespace {

// A connect line longer than this is noise, not a modem's message.
constexpr std::size_t kLongestLine = 200;

link::Ticks secondsToTicks(int seconds) { return static_cast<link::Ticks>((seconds * 182 + 5) / 10); }

}  // namespace

link::Ticks AutoAnswer::callLimit() {
  return exchangeTimeLimit(link::ExchangeKind::Receive) + 2 * exchangeTimeLimit(link::ExchangeKind::Status) +
         secondsToTicks(36);
}

AutoAnswer::AutoAnswer(link::SerialPort& answerPort, link::TickScheduler& ticks, link::ExchangeEngine& engine,
                       const settings::LoggerSettings& settings, AutoAnswerView& view)
    : port_(answerPort), ticks_(ticks), engine_(engine), settings_(settings), view_(view) {
  port_.setDataArrived([this](std::size_t) { onData(); });
}

AutoAnswer::~AutoAnswer() {
  cancelPending();
  port_.setDataArrived({});
  port_.close();
}

void AutoAnswer::cancelPending() {
  ++generation_;
  if (pending_ != 0) ticks_.cancel(pending_);
  if (watchdog_ != 0) ticks_.cancel(watchdog_);
  pending_ = 0;
  watchdog_ = 0;
}

void AutoAnswer::enter() {
  if (on()) return;
  cancelPending();
  portEverOpened_ = false;
  firstOpenFailed_ = false;
  prepare();
}

void AutoAnswer::leave() {
  if (!on()) return;
  cancelPending();
  const bool serving = state_ == AutoAnswerState::Serving;
  setState(AutoAnswerState::Off);
  // Between the download and the configuration no exchange runs, but the
  // call keeps the link port open: the cut closes it all the same.
  if (serving) engine_.cutCall();
  delayCount_ = 0;
  port_.close();
  (void)port_.setBaudRate(settings_.BaudRate);
}

void AutoAnswer::afterPause(std::function<void()> step) {
  const std::uint64_t generation = generation_;
  pending_ = ticks_.after(kModemPause, [this, generation, step = std::move(step)] {
    pending_ = 0;
    if (generation == generation_) step();
  });
}

void AutoAnswer::write(std::string_view bytes) {
  engine_.trace().sent(bytes);
  (void)port_.write(bytes);
}

void AutoAnswer::prepare() {
  setState(AutoAnswerState::Preparing);
  engine_.trace().beginExchange();
  engine_.trace().event("auto-answer: open COM" + std::to_string(settings_.PortNumber) + " @" +
                        std::to_string(settings_.BaudRate));
  port_.close();
  const auto portNumber = static_cast<link::PortNumber>(settings_.PortNumber & 0xFFFF);
  Status opened = port_.open(portNumber, settings_.BaudRate);
  if (!opened) {
    engine_.trace().event("port error: " + opened.error().message);
    if (!portEverOpened_) firstOpenFailed_ = true;
    if (!portFailureLogged_) view_.logEntry(std::string(kAnswerPortFailedText) + opened.error().message);
    portFailureLogged_ = true;
    if (stopped_) return wait();
    const std::uint64_t generation = generation_;
    pending_ = ticks_.after(kPortRetryTicks, [this, generation] {
      pending_ = 0;
      if (generation == generation_) prepare();
    });
    return;
  }
  portEverOpened_ = true;
  portFailureLogged_ = false;
  // Whatever call was left over is hung up.
  afterPause([this] {
    write("+++");
    afterPause([this] {
      write("ATH\r");
      afterPause([this] { wait(); });
    });
  });
}

void AutoAnswer::wait() {
  if (stopped_) {
    setState(AutoAnswerState::Off);
    port_.close();
    std::function<void()> done = std::move(stopped_);
    stopped_ = nullptr;
    done();
    return;
  }
  // A port lost meanwhile is opened again from the start.
  if (!port_.isOpen()) return prepare();
  setState(AutoAnswerState::Waiting);
  delayCount_ = 0;
  line_.clear();
  // What the modem said to +++ and ATH is not a call.
  (void)port_.readWaiting();
  port_.flushInput();
  engine_.trace().event("auto-answer: wait for connect");
  view_.answerText(kWaitForConnectText);
}

void AutoAnswer::onData() {
  const std::string bytes = port_.readWaiting();
  if (state_ != AutoAnswerState::Waiting) return;
  for (const char c : bytes) {
    if (c == '\r' || c == '\n') {
      std::string line;
      line.swap(line_);
      if (c == '\r' && line.rfind(kConnectStart, 0) == 0) return connected(std::move(line));
      continue;
    }
    if (line_.size() < kLongestLine) line_.push_back(c);
  }
}

void AutoAnswer::connected(std::string line) {
  engine_.trace().beginExchange();
  engine_.trace().received(line);
  setState(AutoAnswerState::Delay);
  view_.answerText(line);
  port_.close();
  delayCount_ = 0;
  const link::Ticks start = ticks_.now();
  const std::uint64_t generation = generation_;
  pending_ = ticks_.after(secondsToTicks(1), [this, generation, start] {
    pending_ = 0;
    if (generation == generation_) delayTick(1, start);
  });
}

void AutoAnswer::delayTick(int k, link::Ticks start) {
  delayCount_ = k;
  if (k >= kDelaySeconds) return serve();
  const std::uint64_t generation = generation_;
  const link::Ticks due = start + secondsToTicks(k + 1);
  pending_ = ticks_.after(due - ticks_.now(), [this, generation, start, k] {
    pending_ = 0;
    if (generation == generation_) delayTick(k + 1, start);
  });
}

void AutoAnswer::serve() {
  setState(AutoAnswerState::Serving);
  delayCount_ = 0;
  // The call is up before anything shows it.
  engine_.setCallUp(true);
  view_.callServed();
  const std::uint64_t generation = generation_;
  watchdog_ = ticks_.after(callLimit(), [this, generation] {
    watchdog_ = 0;
    if (generation != generation_ || state_ != AutoAnswerState::Serving) return;
    view_.logEntry(std::string(kCallCutText) + std::to_string(callLimit() * 10 / 182 / 60) + " minutes");
    cutCall();
  });
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::Status;
  request.run.answeredCall = true;
  engine_.start(std::move(request), [this, generation](const link::ExchangeOutcome& outcome) {
    if (generation != generation_ || state_ != AutoAnswerState::Serving) return;
    // The download is logged and the configuration goes 36 s later: the
    // call goes on.
    if (engine_.running() || (engine_.context().autoAnswerCall() && engine_.timer2Running())) return;
    // Every way an answered call ends reports through the host, which hangs
    // up; one that did not still gets its line and its hang-up.
    if (outcome.reported.empty()) view_.logEntry(kCallEndedSilentlyText);
    cutCall();
  });
}

void AutoAnswer::callOver() {
  if (state_ != AutoAnswerState::Serving) return;
  engine_.setCallUp(false);
  hangUp();
}

void AutoAnswer::cutCall() {
  setState(AutoAnswerState::HangingUp);
  engine_.cutCall();
  hangUp();
}

void AutoAnswer::hangUp() {
  setState(AutoAnswerState::HangingUp);
  engine_.trace().beginExchange();
  engine_.trace().event("auto-answer: hang up");
  if (watchdog_ != 0) ticks_.cancel(watchdog_);
  watchdog_ = 0;
  afterPause([this] {
    // The auto-answer port opens itself when written to while closed.
    if (!port_.isOpen()) {
      const auto portNumber = static_cast<link::PortNumber>(settings_.PortNumber & 0xFFFF);
      if (Status opened = port_.open(portNumber, settings_.BaudRate); !opened) {
        ++served_;
        view_.callEnded(served_);
        if (stopped_) return wait();
        return prepare();
      }
    }
    write("+++");
    afterPause([this] {
      write("ATH\r");
      afterPause([this] {
        ++served_;
        view_.callEnded(served_);
        wait();
      });
    });
  });
}

void AutoAnswer::stopAfterHangUp(std::function<void()> done) {
  switch (state_) {
    case AutoAnswerState::Off:
      if (done) done();
      return;
    case AutoAnswerState::Waiting:
      setState(AutoAnswerState::Off);
      cancelPending();
      port_.close();
      if (done) done();
      return;
    case AutoAnswerState::Delay:
    case AutoAnswerState::Serving:
      stopped_ = done ? std::move(done) : [] {};
      view_.logEntry(kStoppedDuringCallText);
      cancelPending();
      cutCall();
      return;
    case AutoAnswerState::Preparing:
    case AutoAnswerState::HangingUp:
      // The sequence runs to its end, then the mode ends instead of waiting.
      stopped_ = done ? std::move(done) : [] {};
      return;
  }
}

}  // namespace brevik::program
