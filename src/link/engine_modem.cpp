// The exchange engine, dialling out: the local modem's set-up string, the
// dial command and the connect line, before the wake-up goes over the call.
// What each modem line means is the dialogue table's business.

#include <string>
#include <utility>

#include "link/exchange_engine.h"
#include "link/exchange_engine_texts.h"
#include "link/modem_dialogue.h"

namespace brevik::link {

using namespace engine_texts;

void ExchangeEngine::beginModemSetup() {
  host_.beforeDialling();
  sendModemCommand(LinkState::ModemSetup, modemSetupCommand(settings_.LocalModemInit));
}

void ExchangeEngine::sendModemCommand(LinkState state, std::string command) {
  const ModemChatStep* step = modemChatStep(state);
  if (!step) return endExchange();
  ctx_.lastCommand = std::move(command);
  observer_.stepText(std::string(step->statusPrefix) + ctx_.lastCommand);
  trace_.sent(ctx_.lastCommand);
  // A lost port shows as silence: the modem's time-out takes its course.
  (void)port_.write(ctx_.lastCommand + "\r");
  armTimeout(step->timeout);
  clearReceive();
  setState(state);
}

void ExchangeEngine::onModemLine() {
  const ModemChatStep* step = modemChatStep(ctx_.state);
  if (!step) return;  // Connected: the modems settle, lines mean nothing yet
  switch (classifyModemLine(*step, ctx_.receiveBuffer, ctx_.lastCommand)) {
    case ModemReply::Ignore:
      // The text stays for the time-out's report; the next line adds to it.
      ctx_.lineComplete = false;
      return;
    case ModemReply::Echo:
      return clearReceive();
    case ModemReply::Accepted:
      return sendModemCommand(LinkState::Dialling,
                              modemDialCommand(settings_.Wireless != 0, settings_.PhoneNumber));
    case ModemReply::Connected:
      ctx_.linkUp = true;
      observer_.stepText(ctx_.receiveBuffer);
      if (settings_.NetworkMode != 0) host_.modemCallConnected();
      armTimeout(kModemSettleTicks);
      return setState(LinkState::Connected);
    case ModemReply::Busy:
      return reportBusy();
    case ModemReply::Unexpected: {
      const std::string line = ctx_.receiveBuffer;
      endExchange();
      report(withKind(MessageKind::Warning, line));
      return;
    }
  }
}

void ExchangeEngine::reportBusy() {
  endExchange();
  const Report busy = info("Line is busy", 0, CommandLineFlags::ReceiveOrSetup);
  const ReportRoute route = routeReport(ctx_.autoAnswerCall(), busy.commandLine,
                                        request_.run.commandLineReceive, request_.run.commandLineSetup);
  report(busy);
  // The one modem text an unattended call also shows.
  if (route == ReportRoute::AutoAnswerLog) prompter_.ask(busy.message);
}

void ExchangeEngine::onModemTimeout() {
  if (ctx_.state == LinkState::Connected) {
    // The call is up: the link opens again over it, starting with the wake-up.
    openLink();
    return;
  }
  const std::string received = ctx_.receiveBuffer;
  endExchange();
  report(withKind(MessageKind::Warning, modemTimeoutText(received), CommandLineFlags::Receive));
}

}  // namespace brevik::link
