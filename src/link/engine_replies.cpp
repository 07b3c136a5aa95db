// The exchange engine after the wake-up: lines and time-outs handed to the
// kind's steps, identification by a status reply, and the rule for a logger
// that does not answer.

#include <algorithm>
#include <array>
#include <utility>

#include "common/cp1252.h"
#include "link/exchange_engine.h"
#include "link/exchange_engine_texts.h"
#include "link/framing.h"
#include "protocol/dialout_schedule.h"
#include "protocol/vocabulary.h"

namespace brevik::link {

using namespace engine_texts;

// Every line and time-out after the wake-up goes to the steps of the
// exchange's kind; an identification by status reply is the opener's own.

void ExchangeEngine::onReplyLine() {
  const std::string line = ctx_.receiveBuffer;
  if (ctx_.kind == ExchangeKind::Identify) {
    disarmTimeout();
    return onIdentifyReply(line);
  }
  stepsOf(ctx_.kind).onReply(line);
}

void ExchangeEngine::onIdentifyReply(std::string line) {
  ctx_.kind = ctx_.savedKind;
  while (line.size() > 8 && !isDigit(line.front())) line.erase(0, 1);
  // A full status reply carries the firmware revision at position 250.
  ctx_.firmwareLetter = line.size() >= 252 ? line[249] : 'q';
  ctx_.shortReply = protocol::revisionGivesShortReplies(ctx_.firmwareLetter);
  ctx_.identified = true;
  ctx_.statusRequestPending = false;
  ctx_.heldReply = std::move(line);
  dispatchKind();
}

void ExchangeEngine::onReplyTimeout() {
  if (ctx_.kind != ExchangeKind::Identify) return stepsOf(ctx_.kind).onReplyTimeout();
  const ExchangeKind resumed = ctx_.savedKind;
  ctx_.kind = resumed;
  endExchange();
  if (resumed == ExchangeKind::Receive) {
    report(info(std::string("Pas réponse de   KALDO ; Pas de nouveau fichier d."_cp), 0, CommandLineFlags::Receive));
  } else {
    report(info("No response from logger (a)", 24, CommandLineFlags::ReceiveOrSetup));
  }
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

void ExchangeEngine::onDataLine() { stepsOf(ctx_.kind).onData(ctx_.receiveBuffer); }

void ExchangeEngine::onDataTimeout() { stepsOf(ctx_.kind).onDataTimeout(); }

void ExchangeEngine::onScheduleLine() { stepsOf(ctx_.kind).onSchedule(ctx_.receiveBuffer); }

}  // namespace brevik::link
