// The kinds that change the logger: a configuration sent in parts, a new
// station address, a new working baud.

#include <algorithm>
#include <array>
#include <string>

#include "common/cp1252.h"
#include "link/exchange_engine.h"
#include "link/exchange_engine_texts.h"
#include "link/framing.h"
#include "link/kind_steps_each.h"
#include "protocol/vocabulary.h"

namespace brevik::link {

using namespace engine_texts;

namespace {

class SendSetupSteps final : public KindSteps {
 public:
  using KindSteps::KindSteps;

  void begin() override {
    if (!ctx_.identified) {
      ctx_.shortReply = false;
      ctx_.firmwareLetter = 'e';
    }
    if (!configuration()) return engine_.endExchange();
    auto built = configuration()->build(ctx_.firmwareLetter);
    if (!built || built->parts.empty()) {
      engine_.endExchange();
      if (!built)
        engine_.report(withKind(configuration()->refusalKind(), built.error().message, CommandLineFlags::Setup));
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
    engine_.sendCommand(ctx_.configurationParts[0]);
  }

  void onReply(const std::string& line) override {
    engine_.disarmTimeout();
    // Nine garbled replies: the logger cannot take this configuration now.
    if (ctx_.configurationErrorCount > 8) {
      if (ctx_.labelsOnly) {
        if (!protocol::revisionSupportsLabelsOnly(ctx_.firmwareLetter)) {
          engine_.report(info(
              "Sending new scaling and/or labels is not supported by this logger.  A firmware "
              "upgrade is available; contact factory for details."));
        } else {
          engine_.report(withKind(MessageKind::Warning, "Impossible d'envoyer Echelle   /  labels"));
        }
      } else {
        Report r = withKind(MessageKind::Warning, "Impossible envoi conf.(com errors)", CommandLineFlags::Setup);
        r.logText = r.message.text + logSuffix();
        engine_.report(r);
      }
      return engine_.endExchange();
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
      engine_.succeed();
      if (ctx_.labelsOnly) {
        engine_.report(info("EnregisKaldo " + loggerName() + " en marche avec nouvel Echelle ou label."));
      } else {
        Report r = info("EnregisKaldo " + loggerName() + " en marche nouvelle config: " +
                            engine_.settings().SetupFileName,
                        0, CommandLineFlags::Setup);
        r.logText = "Sent " + ctx_.dataFileName + logSuffix();
        r.quitText = "Running new configuration: " + engine_.settings().SetupFileName;
        engine_.report(r);
      }
      return engine_.endExchange();
    }
    // The logger needs a moment between parts.
    ctx_.lastCommand =
        frameCommand(ctx_.configurationParts[ctx_.partNumber - 1u], ctx_.firmwareLetter, engine_.frameAddressNow());
    engine_.wait(4, [this] { engine_.sendFramed(ctx_.lastCommand); });
  }

  void onReplyTimeout() override {
    ++ctx_.configurationRetryCount;
    if (ctx_.configurationRetryCount > 8) {
      Report r = withKind(MessageKind::Error, std::string("Impossible envoi configuration (pas réponse)"_cp),
                          CommandLineFlags::Setup);
      r.logText = r.message.text + logSuffix();
      engine_.endExchange();
      engine_.report(r);
      return;
    }
    ctx_.partNumber = 1;
    ctx_.lastCommand = frameCommand(ctx_.configurationParts[0], ctx_.firmwareLetter, engine_.frameAddressNow());
    engine_.wait(2, [this] { engine_.sendFramed(ctx_.lastCommand); });
  }

 private:
  std::string loggerName() const {
    const auto& settings = engine_.settings();
    if (settings.NetworkMode == 0) return {};
    return " station # " + std::to_string(settings.StationAddress);
  }
  // What the unattended log adds to a send's line: the odd acknowledgements,
  // then the garbled replies and time-outs counted.
  std::string logSuffix() const {
    return " " + ctx_.oddReplyLog + " " + std::to_string(ctx_.configurationErrorCount) + "," +
           std::to_string(ctx_.configurationRetryCount);
  }
};

class StationAddressSteps final : public KindSteps {
 public:
  using KindSteps::KindSteps;

  // A logger that is to get an address answers to 00 until it has one.
  void begin() override { engine_.sendStatusRequest(std::uint8_t{0}); }

  void onReply(const std::string& line) override {
    engine_.disarmTimeout();
    if (!replyChecksumOK(line)) {
      engine_.report(withKind(MessageKind::Error, line + " " + std::to_string(line.size())));
      return engine_.endExchange();
    }
    if (!protocol::revisionTakesStationAddress(ctx_.firmwareLetter)) {
      engine_.report(info("This Brevik Logger can not be networked.  Contact factory for upgrade."));
      return engine_.endExchange();
    }
    engine_.sendCommand("F" + hexByte(ctx_.newStationAddress), std::uint8_t{0});
    engine_.setState(LinkState::AwaitData);
  }

  void onData(const std::string& line) override {
    // Other lines are left to the time-out, which keeps running.
    if (!contains(line, "OK")) return;
    engine_.disarmTimeout();
    engine_.succeed();
    engine_.report(info("Station Address #" + std::to_string(ctx_.newStationAddress) + " programmed into logger."));
    engine_.endExchange();
  }

  void onDataTimeout() override {
    engine_.report(withKind(MessageKind::Error, "Unable to program Station Address"));
    engine_.endExchange();
  }
};

class ChangeBaudSteps final : public KindSteps {
 public:
  using KindSteps::KindSteps;

  void begin() override {
    ctx_.partNumber = 0;
    engine_.sendCommand("I" + std::string(1, changeBaudLetter(ctx_.targetBaud)));
  }

  void onReply(const std::string& line) override {
    // Other lines are left to the time-out, which keeps running.
    if (!contains(line, "OK")) return;
    engine_.disarmTimeout();
    const std::uint32_t target = ctx_.targetBaud;
    ctx_.kind = ExchangeKind::None;
    engine_.endExchange();
    engine_.succeed();
    engine_.report(info(std::string("Appareil réglé avec  "_cp) + std::to_string(target) + " baud."));
    engine_.settings().BaudRate = target;
  }

  void onReplyTimeout() override {
    ++ctx_.partNumber;
    if (ctx_.partNumber > 5) {
      const std::uint32_t target = ctx_.targetBaud;
      ctx_.kind = ExchangeKind::None;
      engine_.endExchange();
      engine_.report(info("No response from logger (b)", 26));
      engine_.settings().BaudRate = target;
      return;
    }
    // The logger may already run at another speed: try each in turn.
    static constexpr std::array<std::uint32_t, 5> kFallbacks = {19200, 9600, 4800, 2400, 1200};
    engine_.disarmTimeout();
    (void)engine_.setPortBaud(kFallbacks[ctx_.partNumber - 1u]);
    const std::string s = ">" + ctx_.lastCommand;
    observer().stepText("Sending command: " + s);
    engine_.clearReceive();
    trace().sent(s);
    (void)port().write(s + "\r");
    engine_.armTimeout(9);
  }
};

}  // namespace

std::unique_ptr<KindSteps> makeSendSetupSteps(ExchangeEngine& engine) {
  return std::make_unique<SendSetupSteps>(engine);
}
std::unique_ptr<KindSteps> makeStationAddressSteps(ExchangeEngine& engine) {
  return std::make_unique<StationAddressSteps>(engine);
}
std::unique_ptr<KindSteps> makeChangeBaudSteps(ExchangeEngine& engine) {
  return std::make_unique<ChangeBaudSteps>(engine);
}

}  // namespace brevik::link
