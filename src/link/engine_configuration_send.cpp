// The exchange engine sending a configuration: the parts one after the
// other, their acknowledgements, and the two ways a send fails.

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
  // Nine garbled replies: the logger cannot take this configuration now.
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
  // An acknowledgement moves on to the next part; anything else starts over.
  if (contains(line, "O") || contains(line, "K")) {
    ++ctx_.partNumber;
    if (line != "OK") ctx_.oddReplyLog += line + ",";
  } else {
    ++ctx_.configurationErrorCount;
    ctx_.partNumber = 1;
  }
  // Every part acknowledged: the logger runs the new configuration.
  if (ctx_.partNumber > ctx_.partCount) {
    succeed();
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
  // The logger needs a moment between parts.
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

}  // namespace brevik::link
