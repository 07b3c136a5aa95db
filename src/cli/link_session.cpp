#include "cli/link_session.h"

#include <cmath>
#include <ostream>

#include "program/hang_up.h"

namespace brevik::cli {

std::optional<std::string> takeLinkOptions(std::vector<std::string>& args, LinkOptions& options) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    switch (takeLinkOption(args, i, options)) {
      case OptionTaken::Yes: break;
      case OptionTaken::Malformed: return "--port needs a device";
      case OptionTaken::No: rest.push_back(args[i]); break;
    }
  }
  args = std::move(rest);
  return std::nullopt;
}

std::optional<int> takeOnlyLinkOptions(const Context& ctx, const char* commandName, const char* usage,
                                       LinkOptions& options) {
  std::vector<std::string> args = ctx.args;
  if (auto problem = takeLinkOptions(args, options)) {
    *ctx.err << "kaldo " << commandName << ": " << *problem << "\n" << usage;
    return kExitUsage;
  }
  if (!args.empty()) {
    *ctx.err << "kaldo " << commandName << ": unexpected argument '" << args[0] << "'\n" << usage;
    return kExitUsage;
  }
  return std::nullopt;
}

void hangUpDialledCall(link::ExchangeEngine& engine, link::LinkDriver& driver) {
  if (!engine.context().linkUp) return;
  bool done = false;
  program::hangUpCall(engine, driver.port(), driver.ticks(), [&done] { done = true; });
  // The sequence takes 22 ticks; a port that stalls is closed anyway.
  if (!driver.runUntil([&done] { return done; }, 182)) {
    driver.port().close();
    engine.setCallUp(false);
  }
}

LinkSession::LinkSession(Context& ctx, const char* commandName, settings::LoggerSettings& settings,
                         const LinkOptions& options, const Clock& clock, std::ostream* messages)
    : ctx_(ctx),
      name_(commandName),
      settings_(settings),
      prompter_(messages ? *messages : *ctx.out),
      observer_(*ctx.err),
      host_(messages ? *messages : *ctx.out, *ctx.err) {
  if (const auto failed = assembleLink(ctx, commandName, settings, options, clock, link_)) {
    exitCode_ = *failed;
    return;
  }
  engine_ = std::make_unique<link::ExchangeEngine>(
      link::LinkPorts{link_.driver->port(), link_.driver->ticks(), observer_, prompter_, host_}, settings);
  if (link_.traceSink) engine_->setTraceSink(link_.traceSink.get());
  exitCode_ = kExitOk;
}

LinkSession::~LinkSession() {
  if (engine_) hangUpDialledCall(*engine_, *link_.driver);
}

std::optional<link::ExchangeOutcome> LinkSession::run(link::ExchangeRequest request) {
  const link::ExchangeKind kind = request.kind;
  return run(kind, [&](link::OutcomeCallback done) {
    engine_->start(std::move(request), std::move(done));
    return true;
  });
}

std::optional<link::ExchangeOutcome> LinkSession::run(link::ExchangeKind kind, const program::ExchangeStarter& start) {
  bool started = false;
  auto outcome = program::runExchange(*engine_, *link_.driver, kind, [&](link::OutcomeCallback done) {
    started = start(std::move(done));
    return started;
  });
  if (started && !outcome) *ctx_.err << "kaldo " << name_ << ": the exchange did not end; stopped\n";
  return outcome;
}

program::ReadingsRun LinkSession::runReadings(link::ExchangeRequest request, const program::ReadingsWatch& watch) {
  program::ReadingsRun readings = program::runReadings(*engine_, *link_.driver, std::move(request), watch);
  if (readings.end == program::ReadingsEnd::Stalled)
    *ctx_.err << "kaldo " << name_ << ": no reading came for "
              << std::lround(static_cast<double>(program::exchangeTimeLimit(link::ExchangeKind::RealTime)) /
                             (link::kTicksPerSecond * 60.0))
              << " minutes; stopped\n";
  else if (!readings.outcome)
    *ctx_.err << "kaldo " << name_ << ": the exchange did not end; stopped\n";
  return readings;
}

void LinkSession::explainFailure() const { explainFailedLink(ctx_, name_, settings_, link_); }

}  // namespace brevik::cli
