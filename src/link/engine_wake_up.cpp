// The exchange engine, waking the logger: the wake-up burst, the baud switch,
// identification and the fast start.

#include <algorithm>
#include <array>
#include <utility>

#include "common/cp1252.h"
#include "link/exchange_engine.h"
#include "link/exchange_engine_texts.h"
#include "link/framing.h"
#include "protocol/dialout_schedule.h"

namespace brevik::link {

using namespace engine_texts;

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

// Everything that happens on a port that is open: the wake-up burst and the wait for its answer.
void ExchangeEngine::startWakeUp() {
  // Every wake-up starts a fresh conversation: the logger is asked for its
  // status again, also over a call that was already up.
  ctx_.statusRequestPending = true;
  observer_.stepText(ctx_.kind == ExchangeKind::EndRealTime ? "Terminating link..."
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
  observer_.meter(0);
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
    succeed();
    report(info("Real Time Link terminated"));
    if (readings_) readings_->readingsEnded();
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
      identification_ = IdentificationDigits{static_cast<unsigned char>(line[2]) - 48,
                                             static_cast<unsigned char>(line[3]) + 48};
    } else {
      identification_.reset();
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

}  // namespace brevik::link
