#include "link/kind_steps.h"

#include "link/exchange_engine.h"
#include "link/kind_steps_each.h"

namespace brevik::link {

KindSteps::KindSteps(ExchangeEngine& engine) : engine_(engine), ctx_(engine.linkContext()) {}

void KindSteps::onReplyTimeout() { noReply(); }
void KindSteps::onData(const std::string&) {}
void KindSteps::onDataTimeout() { engine_.endExchange(); }
void KindSteps::onSchedule(const std::string&) { engine_.endExchange(); }

void KindSteps::noReply() { engine_.onNoReplyTimeout(); }
StatusReplyHandler* KindSteps::statusReplies() const { return engine_.statusReplies_; }
DownloadSession* KindSteps::download() const { return engine_.download_; }
ReadingsView* KindSteps::readings() const { return engine_.readings_; }
ConfigurationSource* KindSteps::configuration() const { return engine_.configuration_; }
ExchangeObserver& KindSteps::observer() const { return engine_.observer_; }
SerialPort& KindSteps::port() const { return engine_.port_; }
ExchangeTrace& KindSteps::trace() const { return engine_.trace_; }

namespace {

// No exchange (or the wake-up that ends a real-time stream, which the opener
// finishes itself): nothing to send once the link is up.
class NoSteps final : public KindSteps {
 public:
  using KindSteps::KindSteps;
  void begin() override { engine_.endExchange(); }
  void onReply(const std::string&) override {}
};

}  // namespace

std::unique_ptr<KindSteps> makeKindSteps(ExchangeKind kind, ExchangeEngine& engine) {
  switch (kind) {
    case ExchangeKind::Status:
      return makeStatusSteps(engine);
    case ExchangeKind::Receive:
      return makeReceiveSteps(engine);
    case ExchangeKind::RealTime:
      return makeRealTimeSteps(engine);
    case ExchangeKind::SendSetup:
      return makeSendSetupSteps(engine);
    case ExchangeKind::StationAddressKind:
      return makeStationAddressSteps(engine);
    case ExchangeKind::ChangeBaud:
      return makeChangeBaudSteps(engine);
    case ExchangeKind::None:
    case ExchangeKind::Identify:
    case ExchangeKind::EndRealTime:
    case ExchangeKind::RemoteModemSetup:
    case ExchangeKind::ComTest:
      break;
  }
  return std::make_unique<NoSteps>(engine);
}

}  // namespace brevik::link
