#include "link/exchange_engine.h"

#include <algorithm>
#include <array>
#include <utility>

#include "common/cp1252.h"
#include "link/framing.h"
#include "protocol/dialout_schedule.h"

namespace brevik::link {

namespace {

constexpr std::string_view kCannotOpenPort = "Impossible d'ouvrir le PortCom - SVP vérifier   "_cp;

bool contains(std::string_view s, std::string_view part) {
  return s.find(part) != std::string_view::npos;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

Report info(std::string text, int helpTopic = 0,
            CommandLineFlags flags = CommandLineFlags::None) {
  return Report{Message{MessageKind::Information, std::move(text), Buttons::Ok, helpTopic}, flags,
                std::nullopt, std::nullopt};
}

Report withKind(MessageKind kind, std::string text,
                CommandLineFlags flags = CommandLineFlags::None) {
  return Report{Message{kind, std::move(text), Buttons::Ok, 0}, flags, std::nullopt,
                std::nullopt};
}

}  // namespace

ExchangeEngine::ExchangeEngine(LinkPorts ports, app::LoggerSettings& settings)
    : port_(ports.port),
      ticks_(ports.ticks),
      view_(ports.view),
      prompter_(ports.prompter),
      host_(ports.host),
      settings_(settings),
      trace_(ports.ticks) {
  port_.setDataArrived([this](std::size_t) { onDataAvailable(); });
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
// Small operations shared by every state

void ExchangeEngine::setState(LinkState state) {
  if (ctx_.state != state) trace_.event("state " + std::string(stateName(state)));
  ctx_.state = state;
}

void ExchangeEngine::armTimeout(Ticks ticks) {
  ticks_.armTimer(ticks, [this] { onTimeout(); });
}

void ExchangeEngine::disarmTimeout() { ticks_.disarmTimer(); }

void ExchangeEngine::clearReceive() {
  ctx_.receiveBuffer.clear();
  ctx_.lineComplete = false;
}

void ExchangeEngine::wait(Ticks ticks, std::function<void()> step) {
  ++waitsPending_;
  const std::uint64_t generation = generation_;
  ticks_.after(ticks, [this, generation, step = std::move(step)] {
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
  view_.setStatusText(sendStatusText(s, count));

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

Answer ExchangeEngine::report(const Report& r) {
  const ReportRoute route = routeReport(ctx_.autoAnswerCall(), r.commandLine,
                                        host_.commandLineReceive(), host_.commandLineSetup());
  switch (route) {
    case ReportRoute::AutoAnswerLog: {
      const std::string& text = r.logText ? *r.logText : r.message.text;
      trace_.reported(text);
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
      if (ctx_.kind != ExchangeKind::None || ctx_.state != LinkState::Idle) endExchange();
      host_.logAndQuit(text);
      return Answer::Ok;
    }
    case ReportRoute::MessageBox:
      trace_.reported(r.message.text);
      return prompter_.ask(r.message);
  }
  return Answer::Ok;
}

void ExchangeEngine::logEntry(std::string_view text) {
  trace_.reported(text);
  host_.logEntry(text);
}

// ---------------------------------------------------------------------------
// OpenLink

void ExchangeEngine::openLink() {
  ++generation_;
  waitsPending_ = 0;
  trace_.beginExchange();
  trace_.event("open " + std::string(kindName(ctx_.kind)));

  // 1
  ctx_.scalingFailed = false;
  ctx_.fileError = false;
  if (auto t = replyTimeoutTicks(settings_.BaudRate)) ctx_.replyTimeout = *t;
  view_.setIdentificationDigits(std::nullopt);
  // 2
  view_.setMainWindowEnabled(false);
  view_.setSetupWindowEnabled(false);
  // 3
  meter_ = 0;
  view_.setMeter(0);
  ctx_.badLineTotal = 0;
  ctx_.timeoutTotal = 0;
  if (ctx_.kind == ExchangeKind::Receive) {
    view_.setBlockCount(0);
    view_.setBlockCountVisible(true);
    view_.setDataFileText(ctx_.dataFileName);
  } else {
    view_.setBlockCountVisible(false);
    view_.setDataFileText("");
  }
  if (host_.commandLineReceive() || host_.commandLineSetup()) view_.setAbortEnabled(false);
  view_.setMeterVisible(!(settings_.FastProtocol != 0 || ctx_.kind == ExchangeKind::ChangeBaud));
  view_.setStatusWindowShown(true);

  // 4: a call already up (and not an answered one) keeps its open port.
  if (ctx_.linkUp && !ctx_.autoAnswerCall()) {
    startWakeUp();
    return;
  }
  openPortAndContinue();
}

void ExchangeEngine::openPortAndContinue() {
  const bool useModem = settings_.UseModem != 0;
  if (useModem) view_.setAbortVisible(false);
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
    if (modem_) modem_->beginSetup();
    else endExchange();
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

void ExchangeEngine::dtrPulse(std::function<void()> then) {
  auto dtr = [this](bool on) {
    trace_.event(on ? "dtr 1" : "dtr 0");
    return port_.setDtr(on);
  };
  if (Status st = dtr(true); !st) return failOpen(st.error());
  wait(4, [this, dtr, then = std::move(then)]() mutable {
    if (Status st = dtr(false); !st) return failOpen(st.error());
    wait(5, [this, dtr, then = std::move(then)]() mutable {
      if (Status st = dtr(true); !st) return failOpen(st.error());
      wait(5, std::move(then));
    });
  });
}

// Steps 5 to 9 of OpenLink: everything that happens on a port that is open.
void ExchangeEngine::startWakeUp() {
  // Every wake-up starts a fresh conversation: the logger is asked for its
  // status again, also over a call that was already up.
  ctx_.statusRequestPending = true;
  view_.setStatusText(ctx_.kind == ExchangeKind::EndRealTime ? "Terminating link..."
                                                              : "Establishing link...");
  ctx_.identified = false;
  port_.flushInput();
  clearReceive();

  Ticks waitTicks = 0;
  if (settings_.FastProtocol != 0 || ctx_.kind == ExchangeKind::ChangeBaud) {
    setState(LinkState::FastStart);
    waitTicks = 3;
  } else {
    startTimer1();
    setState(LinkState::AwaitWakeReply);
    waitTicks = 83;
  }
  if (settings_.UseModem != 0) waitTicks += 6;
  sendWakeBurst();
  armTimeout(waitTicks);
}

void ExchangeEngine::sendWakeBurst() {
  meter_ = 0;
  view_.setMeter(0);
  const bool shortBurst = settings_.FastProtocol != 0 || ctx_.kind == ExchangeKind::ChangeBaud;
  const auto burst = wakeBurst(port_.baudRate(), settings_.FastProtocol != 0, shortBurst);
  if (!burst) return;
  trace_.wake(burst->byte, burst->runLength, burst->runs, port_.baudRate());
  const std::string run(burst->runLength, static_cast<char>(burst->byte));
  for (std::size_t i = 0; i < burst->runs; ++i) (void)port_.write(run);
}

// The logger answered the wake-up at its own speed: bring the port there.
void ExchangeEngine::baudSwitch(std::function<void()> then) {
  port_.flushOutput();
  const std::uint32_t baud = settings_.BaudRate;
  if (baud != 19200) {
    (void)setPortBaud(baud);
    wait(1, [this, baud, then = std::move(then)] {
      const std::string byte(1, static_cast<char>(baud == 1200 ? 0xC0 : 0x80));
      trace_.sent(byte);
      (void)port_.write(byte);
      then();
    });
  } else if (modemOrWireless()) {
    const std::string seven("\x00\xE0\xFF\xFF\xFF\x00\x00", 7);
    trace_.sent(seven);
    (void)port_.write(seven);
    then();
  } else {
    wait(2, [this, then = std::move(then)] {
      trace_.sent("E");
      (void)port_.write("E");
      ctx_.lineComplete = false;
      wait(2, [this, then] {
        (void)setPortBaud(19200);
        then();
      });
    });
  }
}

// ---------------------------------------------------------------------------
// EndExchange and AbortBtn

void ExchangeEngine::endExchange() {
  trace_.event("end " + std::string(kindName(ctx_.kind)));
  if (ctx_.kind != ExchangeKind::SendSetup) view_.setMainWindowEnabled(true);
  view_.setSetupWindowEnabled(true);
  if (ctx_.kind == ExchangeKind::StationAddressKind) view_.closeStationAddressWindow();

  ctx_.realTime = false;
  ctx_.kind = ExchangeKind::None;
  ctx_.realTimeGraph = false;

  stopTimer1();
  view_.setAbortVisible(false);
  ctx_.shortTimeout = false;
  ctx_.retryCounter = 0;

  ++generation_;
  waitsPending_ = 0;
  disarmTimeout();
  if (ctx_.linkUp) {
    view_.setStatusText("");
    view_.setStatusWindowShown(false);
  } else {
    ctx_.timerExists = false;
    if (port_.isOpen()) trace_.event("close");
    port_.close();
    view_.setStatusWindowShown(false);
  }
  setState(LinkState::Idle);
}

void ExchangeEngine::abort() {
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
    case LinkState::RemoteModemSetup:
    case LinkState::ComTest:
      if (ctx_.lineComplete && modem_) modem_->onLine(ctx_.receiveBuffer);
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
    case LinkState::RemoteModemSetup:
    case LinkState::ComTest:
      if (modem_) modem_->onTimeout();
      else endExchange();
      return;
  }
}

// ---------------------------------------------------------------------------
// AwaitWakeReply

void ExchangeEngine::onWakeReplyData() {
  if (ctx_.kind == ExchangeKind::EndRealTime) return;
  const char expected = static_cast<char>(expectedWakeReply(settings_.BaudRate));
  if (contains(ctx_.receiveBuffer, std::string_view(&expected, 1))) {
    if (!ctx_.lineComplete) trace_.received(ctx_.receiveBuffer);
    disarmTimeout();
    stopTimer1();
    baudSwitch([this] {
      clearReceive();
      armTimeout(settings_.UseModem != 0 ? 21 : 7);
      setState(LinkState::AwaitIdentification);
    });
    return;
  }
  if (ctx_.lineComplete && contains(ctx_.receiveBuffer, "R") && port_.baudRate() == 1200) {
    disarmTimeout();
    stopTimer1();
    const std::string letter(1, wakeBaudLetter(settings_.BaudRate));
    trace_.sent(letter);
    (void)port_.write(letter);
    wait(2, [this] {
      (void)setPortBaud(settings_.BaudRate);
      clearReceive();
      armTimeout(10);
      setState(LinkState::AwaitIdentification);
    });
  }
}

void ExchangeEngine::onWakeReplyTimeout() {
  stopTimer1();
  if (ctx_.kind == ExchangeKind::EndRealTime) {
    endExchange();
    ctx_.kind = ExchangeKind::None;
    report(info("Real Time Link terminated"));
    view_.closeRealTimeDisplay();
    view_.showMainWindow();
    return;
  }
  // Go on as if woken: a logger already awake does not answer the burst.
  clearReceive();
  armTimeout(16);
  setState(LinkState::AwaitIdentification);
  baudSwitch([] {});
}

// ---------------------------------------------------------------------------
// AwaitIdentification and FastStart

void ExchangeEngine::identifiedByOneCharacter() {
  ctx_.shortReply = true;
  ctx_.firmwareLetter = 'A';
  ctx_.identified = true;
  dispatchKind();
}

void ExchangeEngine::onIdentificationLine() {
  std::string line = ctx_.receiveBuffer;
  const std::size_t length = line.size();
  if (length == 0) {  // a bare CR says nothing
    ctx_.lineComplete = false;
    return;
  }
  if (length == 1) return identifiedByOneCharacter();
  if (length <= 5) {
    if (length % 2 == 1) line.erase(0, 1);
    ctx_.shortReply = false;
    ctx_.firmwareLetter = line[1];
    if (line.size() == 4) {
      view_.setIdentificationDigits(IdentificationDigits{
          static_cast<unsigned char>(line[2]) - 48, static_cast<unsigned char>(line[3]) + 48});
    } else {
      view_.setIdentificationDigits(std::nullopt);
    }
    ctx_.identified = true;
    return dispatchKind();
  }
  disarmTimeout();
  report(withKind(MessageKind::Error, "Rcvd Ack str/" + std::to_string(length) + " " + line));
  endExchange();
}

void ExchangeEngine::onIdentificationTimeout() {
  if (ctx_.receiveBuffer.size() == 1) {
    trace_.received(ctx_.receiveBuffer);
    return identifiedByOneCharacter();
  }
  // The logger said nothing usable: its status reply will tell who it is.
  ctx_.firmwareLetter = 'S';
  ctx_.savedKind = ctx_.kind;
  ctx_.kind = ExchangeKind::Identify;
  dispatchKind();
}

void ExchangeEngine::onFastStartTimeout() {
  ctx_.firmwareLetter = 'q';
  ctx_.shortReply = false;
  ctx_.identified = true;
  ctx_.statusRequestPending = true;
  setState(LinkState::AwaitReply);
  dispatchKind();
}

// ---------------------------------------------------------------------------
// DispatchKind: the first command of each kind

void ExchangeEngine::sendStatusRequest(std::optional<std::uint8_t> address) {
  sendCommand(modemOrWireless() ? "B" : "C", address);
}

void ExchangeEngine::dispatchKind() {
  disarmTimeout();
  switch (ctx_.kind) {
    case ExchangeKind::Identify:
      return sendStatusRequest();
    case ExchangeKind::Status:
    case ExchangeKind::Receive:
    case ExchangeKind::RealTime:
      if (ctx_.statusRequestPending) return sendStatusRequest();
      if (statusReplies_) return statusReplies_->processStatusReply(ctx_.heldReply);
      return endExchange();
    case ExchangeKind::SendSetup:
      if (!ctx_.identified) {
        ctx_.shortReply = false;
        ctx_.firmwareLetter = 'e';
      }
      return startConfigurationSend();
    case ExchangeKind::StationAddressKind:
      // A logger that is to get an address answers to 00 until it has one.
      return sendStatusRequest(std::uint8_t{0});
    case ExchangeKind::ChangeBaud:
      ctx_.partNumber = 0;
      return sendCommand("I" + std::string(1, changeBaudLetter(ctx_.targetBaud)));
    case ExchangeKind::None:
    case ExchangeKind::EndRealTime:
      return endExchange();
  }
}

// ---------------------------------------------------------------------------
// AwaitReply

void ExchangeEngine::onReplyLine() {
  const std::string line = ctx_.receiveBuffer;
  switch (ctx_.kind) {
    case ExchangeKind::Identify:
      disarmTimeout();
      return onIdentifyReply(line);
    case ExchangeKind::Status:
    case ExchangeKind::Receive:
    case ExchangeKind::RealTime:
      disarmTimeout();
      if (statusReplies_) return statusReplies_->processStatusReply(line);
      return endExchange();
    case ExchangeKind::SendSetup:
      disarmTimeout();
      return onConfigurationReply(line);
    case ExchangeKind::StationAddressKind:
      disarmTimeout();
      return onStationAddressReply(line);
    case ExchangeKind::ChangeBaud:
      return onChangeBaudReply(line);
    case ExchangeKind::None:
    case ExchangeKind::EndRealTime:
      return;
  }
}

void ExchangeEngine::onIdentifyReply(std::string line) {
  ctx_.kind = ctx_.savedKind;
  while (line.size() > 8 && !isDigit(line.front())) line.erase(0, 1);
  // A full status reply carries the firmware revision at position 250.
  ctx_.firmwareLetter = line.size() >= 252 ? line[249] : 'q';
  ctx_.shortReply = ctx_.firmwareLetter >= 'A' && ctx_.firmwareLetter <= 'G';
  ctx_.identified = true;
  ctx_.statusRequestPending = false;
  ctx_.heldReply = std::move(line);
  dispatchKind();
}

void ExchangeEngine::onStationAddressReply(const std::string& line) {
  if (!replyChecksumOK(line)) {
    report(withKind(MessageKind::Error, line + " " + std::to_string(line.size())));
    return endExchange();
  }
  if (!firmwareTakesAddress(ctx_.firmwareLetter)) {
    report(info("This Brevik Logger can not be networked.  Contact factory for upgrade."));
    return endExchange();
  }
  sendCommand("F" + hexByte(ctx_.newStationAddress), std::uint8_t{0});
  setState(LinkState::AwaitData);
}

void ExchangeEngine::onChangeBaudReply(const std::string& line) {
  // Other lines are left to the time-out, which keeps running.
  if (!contains(line, "OK")) return;
  disarmTimeout();
  const std::uint32_t target = ctx_.targetBaud;
  ctx_.kind = ExchangeKind::None;
  endExchange();
  report(info(std::string("Appareil réglé avec  "_cp) + std::to_string(target) + " baud."));
  settings_.BaudRate = target;
}

void ExchangeEngine::onReplyTimeout() {
  switch (ctx_.kind) {
    case ExchangeKind::Identify: {
      const ExchangeKind resumed = ctx_.savedKind;
      ctx_.kind = resumed;
      endExchange();
      if (resumed == ExchangeKind::Receive) {
        report(info(std::string("Pas réponse de   KALDO ; Pas de nouveau fichier d."_cp), 0,
                    CommandLineFlags::Receive));
      } else {
        report(info("No response from logger (a)", 24, CommandLineFlags::ReceiveOrSetup));
      }
      return;
    }
    case ExchangeKind::SendSetup:
      return onConfigurationTimeout();
    case ExchangeKind::ChangeBaud:
      return onChangeBaudTimeout();
    default:
      return onNoReplyTimeout();
  }
}

void ExchangeEngine::onChangeBaudTimeout() {
  ++ctx_.partNumber;
  if (ctx_.partNumber > 5) {
    const std::uint32_t target = ctx_.targetBaud;
    ctx_.kind = ExchangeKind::None;
    endExchange();
    report(info("No response from logger (b)", 26));
    settings_.BaudRate = target;
    return;
  }
  // The logger may already run at another speed: try each in turn.
  static constexpr std::array<std::uint32_t, 5> kFallbacks = {19200, 9600, 4800, 2400, 1200};
  disarmTimeout();
  (void)setPortBaud(kFallbacks[ctx_.partNumber - 1u]);
  const std::string s = ">" + ctx_.lastCommand;
  view_.setStatusText("Sending command: " + s);
  clearReceive();
  trace_.sent(s);
  (void)port_.write(s + "\r");
  armTimeout(9);
}

void ExchangeEngine::onNoReplyTimeout() {
  const int kindNo = kindNumber(ctx_.kind);
  if (settings_.UseModem != 0) {
    ++ctx_.retryCounter;
    if (ctx_.retryCounter < 6) return openLink();  // over a live call: wake again
    endExchange();
    report(info(std::string("Pas de réponse de KALDO; QXcmd: "_cp) + std::to_string(kindNo), 0,
                CommandLineFlags::Receive));
    return;
  }
  if (settings_.FastProtocol != 0) {
    ++ctx_.retryCounter;
    if (ctx_.retryCounter <= 2) return dispatchKind();
    endExchange();
    report(info(std::string("Pas de réponse de KALDO (c)"_cp), 24, CommandLineFlags::Receive));
    return;
  }
  endExchange();
  report(info(std::string("Pas de réponse de KALDO (d)"_cp), 24, CommandLineFlags::Receive));
}

// ---------------------------------------------------------------------------
// The configuration send (SendSetup in AwaitReply)

std::string ExchangeEngine::loggerName() const {
  if (settings_.NetworkMode == 0) return {};
  return " station # " + std::to_string(settings_.StationAddress);
}

std::string ExchangeEngine::configurationLogSuffix() const {
  return " " + ctx_.oddReplyLog + " " + std::to_string(ctx_.configurationErrorCount) + "," +
         std::to_string(ctx_.configurationRetryCount);
}

void ExchangeEngine::startConfigurationSend() {
  if (!configuration_) return endExchange();
  auto built = configuration_->build(ctx_.firmwareLetter);
  if (!built || built->parts.empty()) {
    endExchange();
    if (!built) report(withKind(configuration_->refusalKind(), built.error().message, CommandLineFlags::Setup));
    return;
  }
  const auto& parts = built->parts;
  ctx_.partCount = static_cast<std::uint8_t>(std::min<std::size_t>(parts.size(), 4));
  for (std::size_t i = 0; i < 4; ++i)
    ctx_.configurationParts[i] = i < ctx_.partCount ? parts[i].substr(0, 100) : std::string();
  ctx_.partNumber = 1;
  ctx_.configurationErrorCount = 0;
  ctx_.configurationRetryCount = 0;
  ctx_.oddReplyLog.clear();
  ctx_.shortTimeout = built->shortTimeout;
  sendCommand(ctx_.configurationParts[0]);
}

void ExchangeEngine::onConfigurationReply(const std::string& line) {
  // 1: too many garbled replies
  if (ctx_.configurationErrorCount > 8) {
    if (ctx_.labelsOnly) {
      if (ctx_.firmwareLetter <= 'T') {
        report(info(
            "Sending new scaling and/or labels is not supported by this logger.  A firmware "
            "upgrade is available; contact factory for details."));
      } else {
        report(withKind(MessageKind::Warning, "Impossible d'envoyer Echelle   /  labels"));
      }
    } else {
      Report r = withKind(MessageKind::Warning, "Impossible envoi conf.(com errors)",
                          CommandLineFlags::Setup);
      r.logText = r.message.text + configurationLogSuffix();
      report(r);
    }
    return endExchange();
  }
  // 2: count the reply
  if (contains(line, "O") || contains(line, "K")) {
    ++ctx_.partNumber;
    if (line != "OK") ctx_.oddReplyLog += line + ",";
  } else {
    ++ctx_.configurationErrorCount;
    ctx_.partNumber = 1;
  }
  // 3: all parts acknowledged
  if (ctx_.partNumber > ctx_.partCount) {
    if (ctx_.labelsOnly) {
      report(info("EnregisKaldo " + loggerName() + " en marche avec nouvel Echelle ou label."));
    } else {
      Report r = info("EnregisKaldo " + loggerName() + " en marche nouvelle config: " +
                          settings_.SetupFileName,
                      0, CommandLineFlags::Setup);
      r.logText = "Sent " + ctx_.dataFileName + configurationLogSuffix();
      r.quitText = "Running new configuration: " + settings_.SetupFileName;
      report(r);
    }
    return endExchange();
  }
  // 4: the next part
  ctx_.lastCommand = frameCommand(ctx_.configurationParts[ctx_.partNumber - 1u],
                                  ctx_.firmwareLetter, frameAddressNow());
  wait(4, [this] { sendFramed(ctx_.lastCommand); });
}

void ExchangeEngine::onConfigurationTimeout() {
  ++ctx_.configurationRetryCount;
  if (ctx_.configurationRetryCount > 8) {
    Report r = withKind(MessageKind::Error,
                        std::string("Impossible envoi configuration (pas réponse)"_cp),
                        CommandLineFlags::Setup);
    r.logText = r.message.text + configurationLogSuffix();
    endExchange();
    report(r);
    return;
  }
  ctx_.partNumber = 1;
  ctx_.lastCommand =
      frameCommand(ctx_.configurationParts[0], ctx_.firmwareLetter, frameAddressNow());
  wait(2, [this] { sendFramed(ctx_.lastCommand); });
}

// ---------------------------------------------------------------------------
// AwaitData

void ExchangeEngine::onDataLine() {
  const std::string line = ctx_.receiveBuffer;
  switch (ctx_.kind) {
    case ExchangeKind::Receive:
      disarmTimeout();
      if (download_) return download_->onLine(line);
      return endExchange();
    case ExchangeKind::StationAddressKind:
      // Other lines are left to the time-out, which keeps running.
      if (!contains(line, "OK")) return;
      disarmTimeout();
      report(info("Station Address #" + std::to_string(ctx_.newStationAddress) +
                  " programmed into logger."));
      return endExchange();
    case ExchangeKind::RealTime:
      disarmTimeout();
      return onRealTimeLine(line);
    default:
      return;
  }
}

void ExchangeEngine::onRealTimeLine(std::string line) {
  if (contains(line, "OK")) {
    ctx_.retryCounter = 0;
    armTimeout(73);
    clearReceive();
    return;
  }
  while (!line.empty() && line.front() != '>' && line.size() > 17) line.erase(0, 1);
  if (!line.empty()) line.erase(0, 1);
  if (replyChecksumOK(line)) {
    if (readings_) readings_->readingReceived(line);
  } else {
    view_.setReadingError("Checksum error");
  }
  if (ctx_.firmwareLetter >= 'p') return sendCommand("Y");
  // Older loggers stream by themselves; silence still ends in the time-out.
  clearReceive();
  armTimeout(73);
}

void ExchangeEngine::onDataTimeout() {
  switch (ctx_.kind) {
    case ExchangeKind::Receive:
      ++ctx_.timeoutTotal;
      if (download_) return download_->onTimeout();
      return endExchange();
    case ExchangeKind::StationAddressKind:
      report(withKind(MessageKind::Error, "Unable to program Station Address"));
      return endExchange();
    case ExchangeKind::RealTime: {
      ++ctx_.retryCounter;
      if (ctx_.retryCounter <= 4) return sendCommand("Y");
      Report r = info("Real Time Display: Comm Failure", 29);
      r.message.buttons = Buttons::OkRetry;
      if (report(r) == Answer::Retry) {
        ctx_.retryCounter = 0;
        return openLink();
      }
      view_.showMainWindow();
      view_.closeRealTimeDisplay();
      return endExchange();
    }
    default:
      return endExchange();
  }
}

// ---------------------------------------------------------------------------
// AwaitSchedule

void ExchangeEngine::onScheduleLine() {
  disarmTimeout();
  const std::string text = protocol::dialOutScheduleText(std::string_view(ctx_.receiveBuffer).substr(0, 12));
  view_.setScheduleText(text);
  view_.showStatusDisplay();
  endExchange();
}

// ---------------------------------------------------------------------------
// Timer1 (wake-up meter, 165 ms) and Timer2 (seconds after a download)

namespace {
// Tick at which the k-th period of `periodMs` falls due, rounded.
Ticks periodDue(Ticks start, int k, int periodMs) {
  return start + static_cast<Ticks>((static_cast<std::int64_t>(k) * periodMs * 182 + 5000) / 10000);
}
}  // namespace

void ExchangeEngine::startTimer1() {
  stopTimer1();
  timer1Tick(ticks_.now(), 0);
}

void ExchangeEngine::stopTimer1() {
  if (timer1_) ticks_.cancel(timer1_);
  timer1_ = 0;
}

void ExchangeEngine::timer1Tick(Ticks start, int k) {
  if (k > 0) {
    meter_ = std::min(meter_ + 4, 100);
    view_.setMeter(meter_);
    if (meter_ >= 100) {  // held at 100: nothing more to show
      timer1_ = 0;
      return;
    }
  }
  const Ticks due = periodDue(start, k + 1, 165);
  timer1_ = ticks_.after(due - ticks_.now(), [this, start, k] { timer1Tick(start, k + 1); });
}

void ExchangeEngine::startTimer2(Ticks delay) {
  stopTimer2();
  ctx_.timer2Count = 0;
  const Ticks start = ticks_.now() + delay;
  timer2_ = ticks_.after(periodDue(start, 1, 1000) - ticks_.now(),
                         [this, start] { timer2Tick(start, 1); });
}

void ExchangeEngine::stopTimer2() {
  if (timer2_) ticks_.cancel(timer2_);
  timer2_ = 0;
}

void ExchangeEngine::timer2Tick(Ticks start, int k) {
  timer2_ = 0;
  ctx_.timer2Count = k;
  if (ctx_.timer2Count >= 36) {
    // Sending the configuration again ends the answered call.
    ctx_.kind = ExchangeKind::SendSetup;
    openLink();
    return;
  }
  timer2_ = ticks_.after(periodDue(start, k + 1, 1000) - ticks_.now(),
                         [this, start, k] { timer2Tick(start, k + 1); });
}

}  // namespace brevik::link
