// The kinds that begin with a status read: a status with its dial-out
// schedule, a receive that goes on to the download, and the live readings of
// a real-time display.

#include <string>
#include <string_view>

#include "link/exchange_engine.h"
#include "link/exchange_engine_texts.h"
#include "link/framing.h"
#include "link/kind_steps_each.h"
#include "protocol/dialout_schedule.h"
#include "protocol/vocabulary.h"

namespace brevik::link {

using namespace engine_texts;

namespace {

// The status request, or the reply that already identified the logger.
class StatusFirst : public KindSteps {
 public:
  using KindSteps::KindSteps;

  void begin() override {
    if (ctx_.statusRequestPending) return engine_.sendStatusRequest();
    if (statusReplies()) return statusReplies()->processStatusReply(ctx_.heldReply);
    engine_.endExchange();
  }
  void onReply(const std::string& line) override {
    engine_.disarmTimeout();
    if (statusReplies()) return statusReplies()->processStatusReply(line);
    engine_.endExchange();
  }
};

class StatusSteps final : public StatusFirst {
 public:
  using StatusFirst::StatusFirst;

  void onSchedule(const std::string& line) override {
    engine_.disarmTimeout();
    engine_.noteScheduleText(protocol::dialOutScheduleText(std::string_view(line).substr(0, 12)));
    engine_.endExchange();
  }
};

class ReceiveSteps final : public StatusFirst {
 public:
  using StatusFirst::StatusFirst;

  void onData(const std::string& line) override {
    engine_.disarmTimeout();
    if (download()) return download()->onLine(line);
    engine_.endExchange();
  }
  void onDataTimeout() override {
    ++ctx_.timeoutTotal;
    if (download()) return download()->onTimeout();
    engine_.endExchange();
  }
};

class RealTimeSteps final : public StatusFirst {
 public:
  using StatusFirst::StatusFirst;

  void onData(const std::string& received) override {
    engine_.disarmTimeout();
    std::string line = received;
    if (contains(line, "OK")) {
      ctx_.retryCounter = 0;
      engine_.armTimeout(73);
      engine_.clearReceive();
      return;
    }
    while (!line.empty() && line.front() != '>' && line.size() > 17) line.erase(0, 1);
    if (!line.empty()) line.erase(0, 1);
    if (replyChecksumOK(line)) {
      if (readings()) readings()->readingReceived(line);
    } else {
      if (readings()) readings()->readingFailed("Checksum error");
    }
    if (protocol::revisionSendsReadingsOnRequest(ctx_.firmwareLetter)) return engine_.sendCommand("Y");
    // Older loggers stream by themselves; silence still ends in the time-out.
    engine_.clearReceive();
    engine_.armTimeout(73);
  }

  void onDataTimeout() override {
    ++ctx_.retryCounter;
    if (ctx_.retryCounter <= 4) return engine_.sendCommand("Y");
    Report r = info("Real Time Display: Comm Failure", 29);
    r.message.buttons = Buttons::OkRetry;
    if (engine_.report(r) == Answer::Retry) {
      ctx_.retryCounter = 0;
      return engine_.openLink();
    }
    engine_.fail();
    if (readings()) readings()->readingsEnded();
    engine_.endExchange();
  }
};

}  // namespace

std::unique_ptr<KindSteps> makeStatusSteps(ExchangeEngine& engine) { return std::make_unique<StatusSteps>(engine); }
std::unique_ptr<KindSteps> makeReceiveSteps(ExchangeEngine& engine) { return std::make_unique<ReceiveSteps>(engine); }
std::unique_ptr<KindSteps> makeRealTimeSteps(ExchangeEngine& engine) {
  return std::make_unique<RealTimeSteps>(engine);
}

}  // namespace brevik::link
