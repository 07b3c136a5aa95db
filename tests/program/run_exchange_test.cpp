// Running one exchange to its end, as kaldo does.

#include "program/run_exchange.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/twin_link_harness.h"

namespace brevik::program {
namespace {

TEST(RunExchange, AnExchangeThatNeverEndsIsStoppedAtItsTimeLimit) {
  // Live readings go on until somebody ends them: the time limit does.
  testing::TwinLinkHarness h;
  h.addShippedTwin("kaldo5-12bit");
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::RealTime;
  const link::Ticks before = h.ticks.now();
  EXPECT_FALSE(runExchange(h.engine, h.driver, request).has_value());
  EXPECT_EQ(h.ticks.now() - before, exchangeTimeLimit(link::ExchangeKind::RealTime));
  EXPECT_FALSE(h.engine.running());
  EXPECT_FALSE(h.port.isOpen());
  EXPECT_GT(h.readings.lines.size(), 100u);
}

TEST(RunExchange, ReturnsTheOutcomeOfAnExchangeThatEnded) {
  testing::TwinLinkHarness h;
  h.addShippedTwin("kaldo5-12bit");
  const auto outcome = runExchange(h.engine, h.driver, link::ExchangeRequest{});
  ASSERT_TRUE(outcome.has_value());
  EXPECT_EQ(outcome->kind, link::ExchangeKind::Status);
  EXPECT_TRUE(outcome->succeeded);
  EXPECT_TRUE(outcome->scheduleText.has_value());
  EXPECT_FALSE(h.engine.running());
  EXPECT_FALSE(h.port.isOpen());
}

// Live readings run as long as they come: far past the time limit of a
// RealTime exchange, then they are ended as the real-time display's OK
// button ends them.
TEST(RunReadings, GoOnPastTheTimeLimitUntilEnoughThenEndTheReadings) {
  struct Case {
    std::string profile;
    std::size_t wanted;
    bool endsByWakeUp;
  };
  // One reading a tick when asked for, one a second when streamed.
  const Case cases[] = {{"revision = q\n", 4000, false}, {"revision = o\n", 250, true}};
  const link::Ticks limit = exchangeTimeLimit(link::ExchangeKind::RealTime);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.profile);
    testing::TwinLinkHarness h;
    h.addTwin(c.profile);
    link::ExchangeRequest request;
    request.kind = link::ExchangeKind::RealTime;
    const link::Ticks before = h.ticks.now();
    const ReadingsWatch watch{[&] { return h.readings.lines.size() >= c.wanted; },
                              [&] { return static_cast<std::uint64_t>(h.readings.lines.size()); },
                              [&] { return c.endsByWakeUp; }};
    const ReadingsRun run = runReadings(h.engine, h.driver, request, watch);

    EXPECT_GT(h.ticks.now() - before, limit);
    EXPECT_EQ(run.end, ReadingsEnd::Stopped);
    ASSERT_TRUE(run.outcome.has_value());
    EXPECT_TRUE(run.outcome->succeeded);
    EXPECT_EQ(run.outcome->kind, c.endsByWakeUp ? link::ExchangeKind::EndRealTime : link::ExchangeKind::RealTime);
    EXPECT_EQ(h.readings.lines.size(), c.wanted);
    EXPECT_EQ(h.traced("open EndRealTime").size(), c.endsByWakeUp ? 1u : 0u);
    EXPECT_FALSE(h.engine.running());
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_FALSE(h.twin().streaming());
  }
}

TEST(RunReadings, EndAtOnceWhenTheExchangeEndsByItself) {
  testing::TwinLinkHarness h;
  h.addTwin("revision = N\n");  // no real time before O
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::RealTime;
  const ReadingsWatch never{[] { return false; }, [] { return 0u; }, [] { return true; }};
  const ReadingsRun run = runReadings(h.engine, h.driver, request, never);
  EXPECT_EQ(run.end, ReadingsEnd::Ended);
  ASSERT_TRUE(run.outcome.has_value());
  EXPECT_FALSE(run.outcome->succeeded);
  EXPECT_TRUE(h.traced("open EndRealTime").empty());
}

TEST(RunReadings, ALinkWithoutReadingsForTheTimeLimitIsStopped) {
  // Replies that are not readings (here: readings nobody counts) do not
  // keep the run alive.
  testing::TwinLinkHarness h;
  h.addTwin("revision = q\n");
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::RealTime;
  const link::Ticks before = h.ticks.now();
  const ReadingsWatch uncounted{[] { return false; }, [] { return 0u; }, [] { return false; }};
  const ReadingsRun run = runReadings(h.engine, h.driver, request, uncounted);
  EXPECT_EQ(run.end, ReadingsEnd::Stalled);
  EXPECT_FALSE(run.outcome.has_value());
  EXPECT_EQ(h.ticks.now() - before, exchangeTimeLimit(link::ExchangeKind::RealTime));
  EXPECT_FALSE(h.engine.running());
  EXPECT_FALSE(h.port.isOpen());
}

}  // namespace
}  // namespace brevik::program
