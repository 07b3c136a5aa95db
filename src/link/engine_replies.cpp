// The exchange engine, after the link is up: reply and data lines by kind,
// the schedule reply, and what each time-out does.

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
  succeed();
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
  observer_.stepText("Sending command: " + s);
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
      succeed();
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
    if (readings_) readings_->readingFailed("Checksum error");
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
      fail();
      if (readings_) readings_->readingsEnded();
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
  outcome_.scheduleText = text;
  endExchange();
}

}  // namespace brevik::link
