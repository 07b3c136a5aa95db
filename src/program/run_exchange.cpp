#include "program/run_exchange.h"

#include <memory>

namespace brevik::program {

link::Ticks exchangeTimeLimit(link::ExchangeKind kind) {
  constexpr link::Ticks kTicksPerMinute = 182 * 6;  // 18.2 ticks a second
  return kind == link::ExchangeKind::Receive ? 60 * kTicksPerMinute : 3 * kTicksPerMinute;
}

std::optional<link::ExchangeOutcome> runExchange(link::ExchangeEngine& engine, link::LinkDriver& driver,
                                                 link::ExchangeKind kind, const ExchangeStarter& start) {
  // Shared with the callback, which the engine may keep past this call.
  auto outcome = std::make_shared<std::optional<link::ExchangeOutcome>>();
  if (!start([outcome](const link::ExchangeOutcome& o) { *outcome = o; })) return std::nullopt;
  if (driver.runUntil([&] { return outcome->has_value(); }, exchangeTimeLimit(kind))) return *outcome;
  engine.stop();
  return std::nullopt;
}

std::optional<link::ExchangeOutcome> runExchange(link::ExchangeEngine& engine, link::LinkDriver& driver,
                                                 link::ExchangeRequest request) {
  const link::ExchangeKind kind = request.kind;
  return runExchange(engine, driver, kind, [&](link::OutcomeCallback done) {
    engine.start(std::move(request), std::move(done));
    return true;
  });
}

ReadingsRun runReadings(link::ExchangeEngine& engine, link::LinkDriver& driver, link::ExchangeRequest request,
                        const ReadingsWatch& watch) {
  auto outcome = std::make_shared<std::optional<link::ExchangeOutcome>>();
  const link::RunMode run = request.run;
  engine.start(std::move(request), [outcome](const link::ExchangeOutcome& o) { *outcome = o; });
  const link::Ticks quietLimit = exchangeTimeLimit(link::ExchangeKind::RealTime);
  for (;;) {
    const std::uint64_t seen = watch.arrivals();
    const bool moved = driver.runUntil(
        [&] { return outcome->has_value() || watch.enough() || watch.arrivals() != seen; }, quietLimit);
    if (outcome->has_value()) return {ReadingsEnd::Ended, *outcome};
    if (watch.enough()) break;
    if (!moved) {
      engine.stop();
      return {ReadingsEnd::Stalled, std::nullopt};
    }
  }
  if (watch.streamsUnasked()) {
    link::ExchangeRequest ending;
    ending.kind = link::ExchangeKind::EndRealTime;
    ending.run = run;
    // It takes over from the readings' exchange, which is still running.
    return {ReadingsEnd::Stopped, runExchange(engine, driver, std::move(ending))};
  }
  engine.stop();
  return {ReadingsEnd::Stopped, *outcome};
}

}  // namespace brevik::program
