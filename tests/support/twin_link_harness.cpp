#include "support/twin_link_harness.h"

#include <gtest/gtest.h>

#include <utility>

#include "program/run_exchange.h"
#include "program/status_decoding.h"
#include "support/temp_dir.h"

namespace brevik::testing {

DateTime twinLinkNow() {
  DateTime t;
  t.year = 2004;
  t.month = 3;
  t.day = 15;
  t.hour = 10;
  t.minute = 30;
  return t;
}

// ---- status reply steps -------------------------------------------------------

protocol::StatusDecodeResult TwinStatusSteps::decode(std::string_view reply) {
  protocol::StatusDecodeResult result = program::decodeStatusInHome(reply, settings_, dataDir(), clock_);
  outcomes.push_back(result.outcome);
  return result;
}

void TwinStatusSteps::fillStatusForm(const protocol::LoggerStatus& status) {
  form = protocol::buildStatusForm(status, protocol::StatusTextSettings{settings_.TwelveHourClock != 0});
}

Status TwinStatusSteps::appendReadingsLine(const std::string&, const protocol::LoggerStatus&) {
  return makeError(ErrorKind::General, "no CSV file in this harness");
}

std::string TwinStatusSteps::autoAnswerFileName(const protocol::LoggerStatus&) { return "answered.qx1"; }

Status TwinStatusSteps::startDownload(const protocol::LoggerStatus&) {
  ++downloads;
  if (beginDownload) beginDownload();
  else if (engine_) engine_->endExchange();
  return {};
}

// ---- the harness ----------------------------------------------------------------

TwinLinkHarness::TwinLinkHarness() {
  settings.FastProtocol = 0;
  settings.BaudRate = 9600;
  settings.NetworkMode = 0;
  settings.UseModem = 0;
  settings.Wireless = 0;
  steps.setEngine(&engine);
  engine.setStatusReplyHandler(&flow);
  engine.setReadingsView(&readings);
  engine.setTraceSink(&traceLines_);
}

TwinLinkHarness::~TwinLinkHarness() { engine.setTraceSink(nullptr); }

sim::LoggerTwin& TwinLinkHarness::attach(sim::LoggerProfile profile) {
  if (twins_.empty()) {
    settings.BaudRate = profile.baud;
    settings.FastProtocol = profile.protocol == sim::WakeProtocol::Fast ? 1 : 0;
  }
  sim::LoggerTwin& twin = twins_.emplace_back(std::move(profile), twinLinkNow());
  port.attach(twin);
  return twin;
}

sim::LoggerTwin& TwinLinkHarness::addTwin(std::string_view profileText) {
  auto profile = sim::parseLoggerProfile(profileText, "test.logger", dataDir() / "sim");
  if (!profile) {
    ADD_FAILURE() << "profile: " << profile.error().message;
    return attach(sim::LoggerProfile{});
  }
  return attach(std::move(*profile));
}

sim::LoggerTwin& TwinLinkHarness::addShippedTwin(std::string_view name) {
  auto profile = sim::loadSimProfile(name, dataDir() / "sim");
  if (!profile) {
    ADD_FAILURE() << "profile " << name << ": " << profile.error().message;
    return attach(sim::LoggerProfile{});
  }
  return attach(std::move(*profile));
}

sim::VirtualModem& TwinLinkHarness::addModem(std::string_view profileText) {
  auto profile = sim::parseLoggerProfile(profileText, "test.logger", dataDir() / "sim");
  if (!profile) ADD_FAILURE() << "profile: " << profile.error().message;
  sim::LoggerProfile modem = profile ? std::move(*profile) : sim::LoggerProfile{};
  modem.modem.hayes = true;
  settings.BaudRate = modem.baud;
  settings.FastProtocol = modem.protocol == sim::WakeProtocol::Fast ? 1 : 0;
  modem_ = std::make_unique<sim::VirtualModem>(std::move(modem), twinLinkNow());
  port.attach(*modem_);
  return *modem_;
}

void TwinLinkHarness::start(link::ExchangeKind kind) {
  next.kind = kind;
  engine.start(std::exchange(next, link::ExchangeRequest{}), recorder.callback());
}

bool TwinLinkHarness::runUntilEnded(link::Ticks limit) {
  return driver.runUntil([this] { return !engine.running(); }, limit);
}

bool TwinLinkHarness::runStatus() {
  // As kaldo runs it: one request to its outcome, within the time limit.
  next.kind = link::ExchangeKind::Status;
  auto outcome = program::runExchange(engine, driver, std::exchange(next, link::ExchangeRequest{}));
  if (outcome) recorder.outcomes.push_back(*outcome);
  return outcome.has_value();
}

std::vector<std::string> TwinLinkHarness::traced(std::string_view part) const {
  std::vector<std::string> out;
  for (const auto& l : trace())
    if (l.find(part) != std::string::npos) out.push_back(l);
  return out;
}

std::vector<std::string> TwinLinkHarness::frames() const {
  std::vector<std::string> out;
  for (const auto& l : trace()) {
    const auto at = l.find("] > >");
    if (at != std::string::npos) out.push_back(l.substr(at + 4));
  }
  return out;
}

std::vector<std::string> TwinLinkHarness::messageTexts() const {
  std::vector<std::string> out;
  for (const auto& m : prompter.messages) out.push_back(m.text);
  return out;
}

std::string TwinLinkHarness::formText(std::string_view component) const {
  if (!steps.form) return {};
  const protocol::StatusComponent* c = steps.form->find(component);
  return c && c->visible ? c->text : std::string();
}

}  // namespace brevik::testing
