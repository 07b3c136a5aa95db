// Running one exchange to its end, as kaldo does.

#include "program/run_exchange.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace brevik::program
