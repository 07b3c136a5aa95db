#include "support/line_handling_entry.h"

#include <algorithm>

#include "settings/logger_settings.h"
#include "common/clock.h"
#include "link/exchange_engine.h"
#include "link/status_reply_flow.h"
#include "link/virtual_ticks.h"
#include "protocol/status_decode.h"
#include "support/fake_serial_port.h"
#include "support/scripted_observer.h"
#include "support/scripted_prompter.h"

namespace brevik::testing {

namespace {

class QuietHost final : public link::ExchangeHost {
 public:
  void logEntry(std::string_view) override {}
  void logAndQuit(std::string_view) override {}
  void hangUpModem() override {}
  void autoAnswerHangUp() override {}
};

// Decodes with fixed settings and clock and no table files.
class DecodingSteps final : public link::StatusReplySteps {
 public:
  protocol::StatusDecodeResult decode(std::string_view reply) override {
    return protocol::decodeStatusReply(reply, protocol::StatusSettings{}, clock_,
                                       [](char, std::string_view, int) -> Result<protocol::TableFileRows> {
                                         return makeError(ErrorKind::NotFound, "no tables here");
                                       });
  }
  void fillStatusForm(const protocol::LoggerStatus&) override {}
  void showStatusForm() override {}
  std::optional<std::string> csvFileName() const override { return std::nullopt; }
  Status appendReadingsLine(const std::string&, const protocol::LoggerStatus&) override { return {}; }
  std::string autoAnswerFileName(const protocol::LoggerStatus&) override { return "X.QX1"; }
  Status startDownload(const protocol::LoggerStatus&) override {
    return makeError(ErrorKind::General, "no download here");
  }

 private:
  FixedClock clock_{DateTime{2024, 6, 3, 10, 0, 0, 0, 1}};
};

class ReadingsSink final : public link::ReadingsView {
 public:
  void readingReceived(std::string_view) override {}
  void readingFailed(std::string_view) override {}
  void readingsEnded() override {}
};

link::ExchangeRequest realTimeRequest() {
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::RealTime;
  return request;
}

// Long enough for every retry and time-out of any state to run out.
constexpr link::Ticks kRunOut = 4000;

}  // namespace

LineHandlingOutcome runLineHandling(LineHandlingState state, std::string_view bytes, std::size_t chunkSize) {
  link::VirtualTicks ticks;
  FakeSerialPort port(&ticks);
  ScriptedObserver observer;
  ScriptedPrompter prompter;
  QuietHost host;
  settings::LoggerSettings settings;
  settings.BaudRate = 9600;
  settings.NetworkMode = 0;
  link::ExchangeEngine engine({port, ticks, observer, prompter, host}, settings);
  DecodingSteps steps;
  link::StatusReplyFlow flow(engine, steps);
  ReadingsSink readings;
  engine.setStatusReplyHandler(&flow);
  engine.setReadingsView(&readings);

  switch (state) {
    case LineHandlingState::Identification:
      // Woken with the reply byte; the identification line is next.
      settings.FastProtocol = 0;
      engine.start(link::ExchangeRequest{}, {});
      port.receive("\x80");
      ticks.advance(2);
      break;
    case LineHandlingState::StatusReply:
      // The fast start sends the status request after three ticks.
      settings.FastProtocol = 1;
      engine.start(link::ExchangeRequest{}, {});
      ticks.advance(4);
      break;
    case LineHandlingState::ReadingLines:
      // A real-time display running with a current logger.
      settings.FastProtocol = 1;
      engine.start(realTimeRequest(), {});
      ticks.advance(4);
      engine.setState(link::LinkState::AwaitData);
      engine.sendCommand("Y");
      break;
  }

  chunkSize = std::max<std::size_t>(1, chunkSize);
  while (!bytes.empty()) {
    const std::size_t n = std::min(chunkSize, bytes.size());
    port.receive(bytes.substr(0, n));
    bytes.remove_prefix(n);
    ticks.advance(1);
  }
  for (link::Ticks i = 0; i < kRunOut && engine.context().kind != link::ExchangeKind::None; ++i)
    ticks.advance(1);

  LineHandlingOutcome outcome;
  outcome.ended = engine.context().kind == link::ExchangeKind::None &&
                  engine.context().state == link::LinkState::Idle;
  outcome.portClosed = !port.isOpen();
  outcome.messages = prompter.messages.size();
  return outcome;
}

LineHandlingOutcome runLineHandling(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return runLineHandling(LineHandlingState::Identification, {});
  const auto state = static_cast<LineHandlingState>(data[0] % 3);
  const std::size_t chunk = 1 + (data[0] >> 2);
  return runLineHandling(state, std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), chunk);
}

}  // namespace brevik::testing
