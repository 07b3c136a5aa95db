#include "link/modem_utilities.h"

#include <utility>

#include "link/exchange_engine.h"
#include "link/exchange_engine_texts.h"

namespace brevik::link {

using namespace engine_texts;

namespace {

// The remote modem's answer to its reset, then its set-up string: each
// gets half a second to settle.
constexpr Ticks kRemoteReplyTicks = 36;
constexpr Ticks kRemoteSettleTicks = 18;
// The com test's wait for its "AT" to come back.
constexpr Ticks kComTestReplyTicks = 18;
// After "AT" came back: long enough for a modem that echoes its commands to
// add its "OK" (six characters at 1200 baud take 50 ms).
constexpr Ticks kEchoSettleTicks = 9;

// A modem line without the line feeds and blanks around it.
std::string lineText(std::string_view line) {
  while (!line.empty() && (line.front() == '\n' || line.front() == ' ')) line.remove_prefix(1);
  while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.remove_suffix(1);
  return std::string(line);
}

}  // namespace

// What both utilities do with the engine's port. A friend of the engine.
class ModemUtilitySteps : public ModemUtility {
 public:
  explicit ModemUtilitySteps(ExchangeEngine& engine) : engine_(engine), ctx_(engine.linkContext()) {}

 protected:
  // Takes the port for the utility at `baud`; a call still up is dropped
  // with it. False (the exchange ended and the warning said) when the port
  // cannot be opened.
  bool openPort(LinkState state, std::uint32_t baud) {
    ctx_.linkUp = false;
    ctx_.retryCounter = 0;
    ctx_.modemReplyCount = 0;
    engine_.clearReceive();
    engine_.setState(state);
    Status opened = engine_.setPortBaud(baud);
    if (opened) opened = engine_.port_.open(static_cast<PortNumber>(engine_.settings_.PortNumber & 0xFFFF), baud);
    if (!opened) {
      engine_.trace_.event("port error: " + opened.error().message);
      finish(withKind(MessageKind::Warning, std::string(kUtilityPortText)), false);
      return false;
    }
    engine_.trace_.event("open COM" + std::to_string(engine_.settings_.PortNumber) + " @" + std::to_string(baud));
    return true;
  }

  void send(std::string_view command) {
    engine_.trace_.sent(command);
    // A port lost now shows as silence: the time-out ends the utility.
    (void)engine_.port_.write(std::string(command) + "\r");
  }

  Status dtr(bool raised) {
    engine_.trace_.event(raised ? "dtr 1" : "dtr 0");
    return engine_.port_.setDtr(raised);
  }

  void showStep(const std::string& text) { engine_.observer_.stepText(text); }
  void traceEvent(const std::string& text) { engine_.trace_.event(text); }

  // Closes the port, then says how it went.
  void finish(const Report& report, bool succeeded) {
    engine_.endExchange();
    if (succeeded) engine_.succeed();
    engine_.report(report);
  }

  ExchangeEngine& engine_;
  LinkContext& ctx_;
};

namespace {

class RemoteModemSetupSteps final : public ModemUtilitySteps {
 public:
  using ModemUtilitySteps::ModemUtilitySteps;

  void begin() override {
    if (!openPort(LinkState::RemoteModemSetup, engine_.settings().BaudRate)) return;
    showStep(std::string(kModemResetCommand));
    engine_.armTimeout(kRemoteReplyTicks);
    send(kModemResetCommand);
  }

  void onLine(const std::string& raw) override {
    const std::string line = lineText(raw);
    engine_.clearReceive();
    if (line.size() <= 1 || phase_ == Phase::Settling) return;
    ++ctx_.modemReplyCount;
    if (!received_.empty()) received_ += ' ';
    received_ += line;
    if (phase_ == Phase::InitSent) {
      // The set-up string refused: saying "configured" would be untrue.
      if (contains(line, "ERROR")) finish(bad(line), false);
      return;
    }
    if (contains(line, "OK")) {
      phase_ = Phase::Settling;
      engine_.armTimeout(kRemoteSettleTicks);
      return;
    }
    // The first line may be the echo of the reset, sent before echo went off.
    if (ctx_.modemReplyCount > 1) finish(bad(line), false);
  }

  void onTimeout() override {
    switch (phase_) {
      case Phase::AwaitReset:
        finish(withKind(MessageKind::Information, std::string(kInvalidModemResponseText) + received_,
                        CommandLineFlags::Receive),
               false);
        return;
      case Phase::Settling: {
        phase_ = Phase::InitSent;
        const std::string init = engine_.settings().RemoteModemInit;
        showStep(init);
        engine_.armTimeout(kRemoteSettleTicks);
        send(init);
        return;
      }
      case Phase::InitSent:
        finish(info(std::string(kModemConfiguredText)), true);
        return;
    }
  }

 private:
  enum class Phase { AwaitReset, Settling, InitSent };

  static Report bad(const std::string& line) {
    return withKind(MessageKind::Error, std::string(kBadModemResponseText) + line);
  }

  Phase phase_ = Phase::AwaitReset;
  std::string received_;
};

class ComTestSteps final : public ModemUtilitySteps {
 public:
  using ModemUtilitySteps::ModemUtilitySteps;

  void begin() override {
    if (!openPort(LinkState::ComTest, kComTestBaud)) return;
    // DTR on 4 ticks, off 9, on 4: a modem on the port resets its line.
    if (!pulse(true)) return;
    engine_.wait(4, [this] {
      if (!pulse(false)) return;
      engine_.wait(9, [this] {
        if (!pulse(true)) return;
        engine_.wait(4, [this] {
          ctx_.retryCounter = 0;
          engine_.clearReceive();
          engine_.armTimeout(kComTestReplyTicks);
          send(kComTestCommand);
        });
      });
    });
  }

  void onLine(const std::string& raw) override {
    std::string line = raw;
    while (!line.empty() && line.front() == '\n') line.erase(0, 1);
    while (!line.empty() && line.back() == '\n') line.pop_back();
    engine_.clearReceive();
    // A modem's replies begin with an empty line (CR LF before the text).
    if (line.empty()) return;
    if (!echoed_ && line == kComTestCommand) {
      // The cable gave it back - unless a modem that echoes its commands
      // is about to say OK.
      echoed_ = true;
      engine_.armTimeout(kEchoSettleTicks);
      return;
    }
    if (contains(line, "OK")) return finish(info(std::string(kModemOnPortText)), false);
    finish(withKind(MessageKind::Warning,
                    std::string(kDataMismatchText) + "\r" + std::string(kComTestCommand) + " / " + line),
           false);
  }

  void onTimeout() override {
    if (echoed_) return finish(info(std::string(kComTestOkText)), true);
    finish(withKind(MessageKind::Warning, std::string(kNoReceptionText)), false);
  }

 private:
  bool pulse(bool raised) {
    if (Status st = dtr(raised); !st) {
      traceEvent("port error: " + st.error().message);
      finish(withKind(MessageKind::Warning, std::string(kUtilityPortText)), false);
      return false;
    }
    return true;
  }

  bool echoed_ = false;
};

}  // namespace

bool isModemUtility(ExchangeKind kind) {
  return kind == ExchangeKind::RemoteModemSetup || kind == ExchangeKind::ComTest;
}

std::unique_ptr<ModemUtility> makeModemUtility(ExchangeKind kind, ExchangeEngine& engine) {
  if (kind == ExchangeKind::ComTest) return std::make_unique<ComTestSteps>(engine);
  return std::make_unique<RemoteModemSetupSteps>(engine);
}

}  // namespace brevik::link
