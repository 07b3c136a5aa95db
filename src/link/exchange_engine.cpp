#include "link/exchange_engine.h"

#include <algorithm>
#include <array>
#include <utility>

#include "common/cp1252.h"
#include "link/exchange_engine_texts.h"
#include "link/framing.h"
#include "protocol/dialout_schedule.h"

namespace brevik::link {

using namespace engine_texts;

class ExchangeEngine::Step {
 public:
  explicit Step(ExchangeEngine& engine) : engine_(engine) { ++engine_.stepDepth_; }
  ~Step() {
    if (--engine_.stepDepth_ == 0) engine_.deliverIfEnded();
  }
  Step(const Step&) = delete;
  Step& operator=(const Step&) = delete;

 private:
  ExchangeEngine& engine_;
};

ExchangeEngine::ExchangeEngine(LinkPorts ports, settings::LoggerSettings& settings)
    : port_(ports.port),
      ticks_(ports.ticks),
      observer_(ports.observer),
      prompter_(ports.prompter),
      host_(ports.host),
      settings_(settings),
      trace_(ports.ticks) {
  port_.setDataArrived([this](std::size_t) {
    Step step(*this);
    onDataAvailable();
  });
}

ExchangeEngine::~ExchangeEngine() {
  port_.setDataArrived({});
  ticks_.disarmTimer();
  if (timer1_) ticks_.cancel(timer1_);
  if (timer2_) ticks_.cancel(timer2_);
  ++generation_;
}

bool ExchangeEngine::modemOrWireless() const {
  return settings_.UseModem != 0 || settings_.Wireless != 0;
}

std::uint8_t ExchangeEngine::frameAddressNow() const {
  return frameAddress(settings_.NetworkMode != 0, settings_.StationAddress,
                      settings_.AutoAnswer != 0);
}

// ---------------------------------------------------------------------------
// Steps and the outcome

TickScheduler::StepId ExchangeEngine::after(Ticks ticks, std::function<void()> step) {
  return ticks_.after(ticks, [this, step = std::move(step)] {
    Step s(*this);
    step();
  });
}

void ExchangeEngine::deliverIfEnded() {
  // A step that reopened the link (a retry, an answered call going on to its
  // download) has not ended the exchange.
  if (!outcomePending_ || ctx_.state != LinkState::Idle || ctx_.kind != ExchangeKind::None) return;
  outcomePending_ = false;
  outcome_.badLines = ctx_.badLineTotal;
  outcome_.timeouts = ctx_.timeoutTotal;
  if (download_ && outcome_.kind == ExchangeKind::Receive) outcome_.blocks = download_->blocksReceived();
  const ExchangeOutcome outcome = std::move(outcome_);
  outcome_ = ExchangeOutcome{};
  // A copy: the callback may start the next exchange, with a callback of its own.
  const OutcomeCallback done = done_;
  if (done) done(outcome);
}

void ExchangeEngine::start(ExchangeRequest request, OutcomeCallback done) {
  Step step(*this);
  // What still runs (a real-time display that a wake-up now ends) is over:
  // it did what it was asked until the user ended it. Its callback hears so
  // once the new exchange counts as running, so nothing looks idle between.
  std::optional<ExchangeOutcome> superseded;
  OutcomeCallback supersededDone;
  if (outcomePending_) {
    outcome_.succeeded = true;
    superseded = std::move(outcome_);
    supersededDone = std::move(done_);
  }
  request_ = std::move(request);
  done_ = std::move(done);
  outcome_ = ExchangeOutcome{};
  outcome_.kind = request_.kind;
  outcomePending_ = true;
  if (superseded && supersededDone) supersededDone(*superseded);

  ctx_.kind = request_.kind;
  ctx_.dataFileName = request_.dataFileName;
  ctx_.labelsOnly = request_.labelsOnly;
  ctx_.newStationAddress = request_.newStationAddress;
  if (request_.run.answeredCall && ctx_.autoAnswerCounter <= 0) ctx_.autoAnswerCounter = 1;
  switch (request_.kind) {
    case ExchangeKind::Status:
      ctx_.retryCounter = 0;
      break;
    case ExchangeKind::RealTime:
      ctx_.realTime = true;
      ctx_.realTimeGraph = request_.realTimeGraph;
      break;
    case ExchangeKind::ChangeBaud:
      // The logger is woken at 28800 and told to run at the requested rate,
      // which the settings take once it answers (or gives up).
      ctx_.targetBaud = request_.targetBaud;
      ctx_.partNumber = 0;
      settings_.BaudRate = 28800;
      break;
    default:
      break;
  }
  if (isModemUtility(request_.kind)) {
    // The utilities open the port themselves and wake no logger.
    utility_ = makeModemUtility(request_.kind, *this);
    utility_->begin();
    return;
  }
  openLink();
}

void ExchangeEngine::stop() {
  Step step(*this);
  if (ctx_.kind == ExchangeKind::None && ctx_.state == LinkState::Idle) return;
  ctx_.kind = ExchangeKind::None;
  endExchange();
}

void ExchangeEngine::setCallUp(bool up) { ctx_.linkUp = up; }

void ExchangeEngine::cutCall() {
  Step step(*this);
  stopTimer2();
  ctx_.linkUp = false;
  if (port_.isOpen()) port_.flushOutput();
  ctx_.kind = ExchangeKind::None;
  endExchange();
}

// ---------------------------------------------------------------------------
// Small operations shared by every state

void ExchangeEngine::setState(LinkState state) {
  if (ctx_.state != state) trace_.event("state " + std::string(stateName(state)));
  ctx_.state = state;
}

void ExchangeEngine::armTimeout(Ticks ticks) {
  ticks_.armTimer(ticks, [this] {
    Step step(*this);
    onTimeout();
  });
}

void ExchangeEngine::disarmTimeout() { ticks_.disarmTimer(); }

void ExchangeEngine::clearReceive() {
  ctx_.receiveBuffer.clear();
  ctx_.lineComplete = false;
}

void ExchangeEngine::wait(Ticks ticks, std::function<void()> step) {
  ++waitsPending_;
  const std::uint64_t generation = generation_;
  after(ticks, [this, generation, step = std::move(step)] {
    if (generation != generation_) return;
    --waitsPending_;
    step();
    // A line that arrived during the wait is looked at now.
    if (waitsPending_ == 0 && generation == generation_ && ctx_.lineComplete) actOnState();
  });
}

namespace {
// Silence that tells a reply has ended: far longer than the gap between two
// characters at 1200 baud.
constexpr Ticks kQuietTicks = 3;
}  // namespace

void ExchangeEngine::sendAgainWhenQuiet(const std::string& framed) {
  trace_.event("await quiet line");
  clearReceive();
  const Ticks windowEnd = std::max(replyWindowEnd_, ticks_.now());
  // A line that never falls silent (noise) does not hold the exchange up for
  // longer than one more reply window.
  whenQuiet(windowEnd, windowEnd + ctx_.replyTimeout, [this, framed] { sendFramed(framed); });
}

void ExchangeEngine::whenQuiet(Ticks notBefore, Ticks giveUpAt, std::function<void()> step) {
  const Ticks now = ticks_.now();
  const Ticks quietAt = std::max(notBefore, lastArrival_ + kQuietTicks);
  if (now >= quietAt || now >= giveUpAt) {
    clearReceive();
    port_.flushInput();
    return step();
  }
  wait(std::min(quietAt, giveUpAt) - now, [this, notBefore, giveUpAt, step = std::move(step)]() mutable {
    whenQuiet(notBefore, giveUpAt, std::move(step));
  });
}

Status ExchangeEngine::setPortBaud(std::uint32_t baud) {
  trace_.event("baud " + std::to_string(baud));
  return port_.setBaudRate(baud);
}

void ExchangeEngine::sendCommand(std::string_view body, std::optional<std::uint8_t> address) {
  ctx_.lastCommand = frameCommand(body, ctx_.firmwareLetter, address.value_or(frameAddressNow()));
  if (ctx_.lastCommand.size() > 100) ctx_.lastCommand.resize(100);
  sendFramed(ctx_.lastCommand);
}

void ExchangeEngine::sendFramed(const std::string& framed) {
  const std::string s = ">" + framed;
  SendTicksInput in;
  in.shortTimeout = ctx_.shortTimeout;
  in.replyTimeout = ctx_.replyTimeout;
  in.awaitingData = ctx_.state == LinkState::AwaitData;
  in.modemOrWireless = modemOrWireless();
  in.realTime = ctx_.realTime;
  in.firmwareLetter = ctx_.firmwareLetter;
  in.changeBaud = ctx_.kind == ExchangeKind::ChangeBaud;

  std::optional<long> count;
  if (ctx_.retryCounter > 0) count = ctx_.retryCounter;
  else if (ctx_.kind == ExchangeKind::SendSetup) count = ctx_.configurationRetryCount;
  observer_.stepText(sendStatusText(s, count));

  const Ticks replyTicks = sendFramedTicks(in);
  replyWindowEnd_ = ticks_.now() + replyTicks;
  armTimeout(replyTicks);
  clearReceive();
  if (ctx_.state != LinkState::AwaitSchedule && ctx_.state != LinkState::AwaitData &&
      ctx_.kind != ExchangeKind::ChangeBaud) {
    setState(LinkState::AwaitReply);
    port_.flushInput();
  }
  trace_.sent(s);
  // A lost port shows as silence: the time-out takes its course.
  (void)port_.write(s + "\r");
}

// ---------------------------------------------------------------------------
// The reporting rule

Answer ExchangeEngine::report(const Report& r) { return report(r, request_.run); }

Answer ExchangeEngine::report(const Report& r, const RunMode& run) {
  const ReportRoute route =
      routeReport(ctx_.autoAnswerCall(), r.commandLine, run.commandLineReceive, run.commandLineSetup);
  switch (route) {
    case ReportRoute::AutoAnswerLog: {
      const std::string& text = r.logText ? *r.logText : r.message.text;
      trace_.reported(text);
      outcome_.reported.push_back({text, ReportedTo::Log});
      ctx_.linkUp = false;
      endExchange();
      host_.logEntry(text);
      // The answered call is over; what follows is not part of it.
      ctx_.autoAnswerCounter = 0;
      host_.autoAnswerHangUp();
      return Answer::Ok;
    }
    case ReportRoute::LogAndQuit: {
      const std::string& text =
          r.quitText ? *r.quitText : (r.logText ? *r.logText : r.message.text);
      trace_.reported(text);
      outcome_.reported.push_back({text, ReportedTo::LogAndQuit});
      if (ctx_.kind != ExchangeKind::None || ctx_.state != LinkState::Idle) endExchange();
      host_.logAndQuit(text);
      return Answer::Ok;
    }
    case ReportRoute::MessageBox:
      trace_.reported(r.message.text);
      outcome_.reported.push_back({r.message.text, ReportedTo::MessageBox});
      return prompter_.ask(r.message);
  }
  return Answer::Ok;
}

void ExchangeEngine::logEntry(std::string_view text) {
  trace_.reported(text);
  outcome_.reported.push_back({std::string(text), ReportedTo::Log});
  host_.logEntry(text);
}

// ---------------------------------------------------------------------------
// OpenLink

void ExchangeEngine::openLink() {
  Step step(*this);
  ++generation_;
  waitsPending_ = 0;
  trace_.beginExchange();
  trace_.event("open " + std::string(kindName(ctx_.kind)));

  ctx_.scalingFailed = false;
  ctx_.fileError = false;
  if (auto t = replyTimeoutTicks(settings_.BaudRate)) ctx_.replyTimeout = *t;
  identification_.reset();
  meter_ = 0;
  ctx_.badLineTotal = 0;
  ctx_.timeoutTotal = 0;
  ExchangeDisplay display;
  display.kind = ctx_.kind;
  if (ctx_.kind == ExchangeKind::Receive) {
    display.dataFileName = ctx_.dataFileName;
    display.blockCountShown = true;
  }
  display.meterShown = !(settings_.FastProtocol != 0 || ctx_.kind == ExchangeKind::ChangeBaud);
  display.abortEnabled = !(request_.run.commandLineReceive || request_.run.commandLineSetup);
  observer_.exchangeStarted(display);

  // A call already up (and not an answered one) keeps its open port.
  if (ctx_.linkUp && !ctx_.autoAnswerCall()) {
    startWakeUp();
    return;
  }
  openPortAndContinue();
}

void ExchangeEngine::openPortAndContinue() {
  const bool useModem = settings_.UseModem != 0;
  if (useModem) observer_.abortAvailable(false);
  const bool atWorkingBaud = settings_.Wireless != 0 || useModem || settings_.FastProtocol != 0;
  const std::uint32_t baud = atWorkingBaud ? settings_.BaudRate : 1200;

  if (Status st = setPortBaud(baud); !st) return failOpen(st.error());
  if (Status st = port_.open(static_cast<PortNumber>(settings_.PortNumber & 0xFFFF), baud); !st)
    return failOpen(st.error());
  trace_.event("open COM" + std::to_string(settings_.PortNumber) + " @" + std::to_string(baud));
  ctx_.timerExists = true;

  if (useModem && !ctx_.autoAnswerCall()) {
    dtrPulse([this] { afterPortOpened(); });
    return;
  }
  afterPortOpened();
}

void ExchangeEngine::afterPortOpened() {
  if (settings_.UseModem != 0 && !ctx_.linkUp) {
    beginModemSetup();
    return;
  }
  startWakeUp();
}

void ExchangeEngine::failOpen(const Error& error) {
  trace_.event("port error: " + error.message);
  if (error.kind == ErrorKind::PortUnavailable) {
    endExchange();
    report(withKind(MessageKind::Warning, std::string(kCannotOpenPort)));
    return;
  }
  if (settings_.UseModem != 0 && !ctx_.autoAnswerCall() && port_.isOpen()) {
    dtrPulse([this] { endExchange(); });
    return;
  }
  endExchange();
}

void ExchangeEngine::endExchange() {
  trace_.event("end " + std::string(kindName(ctx_.kind)));
  ctx_.realTime = false;
  ctx_.kind = ExchangeKind::None;
  ctx_.realTimeGraph = false;

  stopTimer1();
  observer_.abortAvailable(false);
  ctx_.shortTimeout = false;
  ctx_.retryCounter = 0;

  ++generation_;
  waitsPending_ = 0;
  disarmTimeout();
  if (ctx_.linkUp) {
    observer_.stepText("");
  } else {
    ctx_.timerExists = false;
    if (port_.isOpen()) trace_.event("close");
    port_.close();
  }
  observer_.exchangeEnded();
  setState(LinkState::Idle);
}

void ExchangeEngine::abort() {
  Step step(*this);
  trace_.event("abort");
  if (ctx_.state == LinkState::ModemSetup || ctx_.state == LinkState::Dialling) {
    host_.hangUpModem();
    endExchange();
  }
  if (ctx_.state == LinkState::AwaitData && download_ && download_->running()) {
    ctx_.abortRequested = true;
    download_->abort();
  }
}

// ---------------------------------------------------------------------------
// The two events

void ExchangeEngine::onDataAvailable() {
  lastArrival_ = ticks_.now();
  if (port_.takeLineError()) {
    trace_.event("line error");
    return;
  }
  std::string_view rest;
  const std::string bytes = port_.readWaiting();
  rest = bytes;
  // Each CR completes a line that the state sees on its own; bytes after the
  // last CR stay in the buffer for the next arrival.
  while (!rest.empty()) {
    const auto cr = rest.find('\r');
    if (cr == std::string_view::npos) {
      ctx_.receiveBuffer.append(rest);
      rest = {};
    } else {
      ctx_.receiveBuffer.append(rest.substr(0, cr));
      ctx_.lineComplete = true;
      rest.remove_prefix(cr + 1);
      trace_.received(ctx_.receiveBuffer);
    }
    if (waitsPending_ == 0) actOnState();
  }
}

void ExchangeEngine::actOnState() {
  switch (ctx_.state) {
    case LinkState::Idle:
    case LinkState::FastStart:  // bytes are only collected
      return;
    case LinkState::AwaitWakeReply:
      return onWakeReplyData();
    case LinkState::AwaitIdentification:
      if (ctx_.lineComplete) onIdentificationLine();
      return;
    case LinkState::AwaitReply:
      if (ctx_.lineComplete) onReplyLine();
      return;
    case LinkState::AwaitData:
      if (ctx_.lineComplete) onDataLine();
      return;
    case LinkState::AwaitSchedule:
      if (ctx_.lineComplete) onScheduleLine();
      return;
    case LinkState::ModemSetup:
    case LinkState::Dialling:
    case LinkState::Connected:
      if (ctx_.lineComplete) onModemLine();
      return;
    case LinkState::RemoteModemSetup:
    case LinkState::ComTest:
      if (ctx_.lineComplete && utility_) utility_->onLine(ctx_.receiveBuffer);
      return;
  }
}

void ExchangeEngine::onTimeout() {
  trace_.event("timeout");
  switch (ctx_.state) {
    case LinkState::Idle:
      return;
    case LinkState::AwaitWakeReply:
      return onWakeReplyTimeout();
    case LinkState::AwaitIdentification:
      return onIdentificationTimeout();
    case LinkState::FastStart:
      return onFastStartTimeout();
    case LinkState::AwaitReply:
      return onReplyTimeout();
    case LinkState::AwaitData:
      return onDataTimeout();
    case LinkState::AwaitSchedule:
      return endExchange();
    case LinkState::ModemSetup:
    case LinkState::Dialling:
    case LinkState::Connected:
      return onModemTimeout();
    case LinkState::RemoteModemSetup:
    case LinkState::ComTest:
      if (utility_) utility_->onTimeout();
      else endExchange();
      return;
  }
}

void ExchangeEngine::sendStatusRequest(std::optional<std::uint8_t> address) {
  sendCommand(modemOrWireless() ? "B" : "C", address);
}

KindSteps& ExchangeEngine::stepsOf(ExchangeKind kind) {
  std::unique_ptr<KindSteps>& steps = kinds_.at(static_cast<std::size_t>(kindNumber(kind)) % kinds_.size());
  if (!steps) steps = makeKindSteps(kind, *this);
  return *steps;
}

void ExchangeEngine::dispatchKind() {
  disarmTimeout();
  // A logger that identified itself by nothing usable is asked for its status.
  if (ctx_.kind == ExchangeKind::Identify) return sendStatusRequest();
  stepsOf(ctx_.kind).begin();
}

}  // namespace brevik::link
