// Decimation of image-form samples into display series.

#include <gtest/gtest.h>

#include <memory>

#include "graph/display_values.h"
#include "support/loaded_file_fixtures.h"
#include "datafile/time_base.h"

namespace brevik::graph {
namespace {

using fixtures::linearState;

std::vector<std::uint16_t> pattern(std::size_t count) {
  std::vector<std::uint16_t> s(count);
  for (std::size_t i = 0; i < count; ++i) s[i] = static_cast<std::uint16_t>((i * 7 + i / 3) % 251);
  return s;
}

struct FactorCase {
  std::size_t samples;
  std::size_t factor;
  std::size_t points;
};

class DecimationFactor : public ::testing::TestWithParam<FactorCase> {};

TEST_P(DecimationFactor, GivesFactorAndEvenPointCount) {
  const FactorCase c = GetParam();
  datafile::LoadedFile f = linearState({pattern(c.samples)});
  auto series = std::make_unique<datafile::DisplaySeries>();
  computeDisplayValues(f, *series);
  EXPECT_EQ(series->factor, c.factor);
  EXPECT_EQ(series->points, c.points);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, DecimationFactor,
                         ::testing::Values(FactorCase{2048, 1, 2048}, FactorCase{2049, 2, 1024},
                                           FactorCase{5000, 3, 1666}, FactorCase{32256, 16, 2016},
                                           FactorCase{10, 1, 10}));

TEST(DisplayValues, PairsKeepTheTimeOrderOfMinimumAndMaximum) {
  // Groups of 6 (F = 3): a falling group gives (max, min), a rising one (min, max).
  std::vector<std::uint16_t> s(5000, 100);
  s[0] = 200;  // group 0: the maximum comes first
  s[4] = 10;
  s[6] = 5;    // group 1: the minimum comes first
  s[11] = 250;
  datafile::LoadedFile f = linearState({s});
  auto series = std::make_unique<datafile::DisplaySeries>();
  computeDisplayValues(f, *series);
  ASSERT_EQ(series->factor, 3u);
  EXPECT_FLOAT_EQ(series->value(0, 0), 200.0f);
  EXPECT_FLOAT_EQ(series->value(0, 1), 10.0f);
  EXPECT_FLOAT_EQ(series->value(0, 2), 5.0f);
  EXPECT_FLOAT_EQ(series->value(0, 3), 250.0f);
  EXPECT_FLOAT_EQ(series->largest[0], 250.0f);
  EXPECT_EQ(series->largestIndex[0], 11u);
  EXPECT_FLOAT_EQ(series->smallest[0], 5.0f);
  EXPECT_EQ(series->smallestIndex[0], 6u);
}

TEST(DisplayValues, EqualCountsKeepTheFirstPosition) {
  std::vector<std::uint16_t> s(4100, 50);
  s[1] = 90;
  s[3] = 90;  // a later equal maximum does not move it
  datafile::LoadedFile f = linearState({s});
  auto series = std::make_unique<datafile::DisplaySeries>();
  computeDisplayValues(f, *series);
  EXPECT_EQ(series->largestIndex[0], 1u);
  EXPECT_EQ(series->smallestIndex[0], 0u);
}

TEST(DisplayValues, FallingTableChannelStoresTheLargerValueInTheLargestCountsPlace) {
  std::vector<std::uint16_t> s(5000, 100);
  s[1] = 200;  // largest count first, smallest count later
  s[4] = 20;
  datafile::LoadedFile f = linearState({s});
  protocol::ChannelTables tables{};
  tables[0].addRow(255.0f, 0.0f);  // a falling table: count 0 reads 255
  tables[0].addRow(0.0f, 255.0f);
  tables[0].scaled = true;
  f.converter.setTables(tables);
  auto series = std::make_unique<datafile::DisplaySeries>();
  computeDisplayValues(f, *series);
  // Counts 200 and 20 read 55 and 235; the larger value takes the first place.
  EXPECT_NEAR(series->value(0, 0), 235.0f, 1e-3);
  EXPECT_NEAR(series->value(0, 1), 55.0f, 1e-3);
}

TEST(DisplayValues, SingleSampleShowsTwoEqualPoints) {
  datafile::LoadedFile f = linearState({{42}});
  auto series = std::make_unique<datafile::DisplaySeries>();
  computeDisplayValues(f, *series);
  ASSERT_EQ(series->points, 2u);
  EXPECT_FLOAT_EQ(series->value(0, 0), 42.0f);
  EXPECT_FLOAT_EQ(series->value(0, 1), 42.0f);
}

TEST(DisplayValues, LastGroupIsCompletedWithTheLastSample) {
  // 2,050 samples, F = 2: the last group holds samples 2048-2049 and two
  // repetitions of sample 2049; nothing beyond the data is read.
  std::vector<std::uint16_t> s(2050, 30);
  s[2049] = 7;
  datafile::LoadedFile f = linearState({s});
  auto series = std::make_unique<datafile::DisplaySeries>();
  computeDisplayValues(f, *series);
  ASSERT_EQ(series->points, 1026u);
  EXPECT_FLOAT_EQ(series->value(0, 1024), 30.0f);
  EXPECT_FLOAT_EQ(series->value(0, 1025), 7.0f);
}

TEST(DisplayValues, ChannelsUseTheirOwnSlots) {
  datafile::LoadedFile f = linearState({{1, 2, 3}, {10, 20, 30}, {100, 110, 120}});
  auto series = std::make_unique<datafile::DisplaySeries>();
  computeDisplayValues(f, *series);
  ASSERT_EQ(series->points, 3u);
  EXPECT_FLOAT_EQ(series->value(1, 2), 30.0f);
  EXPECT_FLOAT_EQ(series->value(2, 0), 100.0f);
  EXPECT_FLOAT_EQ(series->smallest[2], 100.0f);
}

TEST(DisplayValues, ZoomedRangeReadsFromItsStart) {
  std::vector<std::uint16_t> s(100);
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<std::uint16_t>(i);
  datafile::LoadedFile f = linearState({s});
  f.zoomed = true;
  f.rangeStart = 40;
  f.samplesInRange = 10;
  f.zoomOffsetMinutes = 40.0;
  auto series = std::make_unique<datafile::DisplaySeries>();
  computeDisplayValues(f, *series);
  ASSERT_EQ(series->points, 10u);
  EXPECT_FLOAT_EQ(series->value(0, 0), 40.0f);
  EXPECT_EQ(series->largestIndex[0], 49u);
  const auto t = pointTime(f, *series, 2);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->hour, 9);
  EXPECT_EQ(t->minute, 47);  // 9:05 + 40 + 2 minutes
}

TEST(DisplayValues, PointTimesStepByFactorTimesRate) {
  datafile::LoadedFile f = linearState({pattern(5000)}, 0.5);
  auto series = std::make_unique<datafile::DisplaySeries>();
  computeDisplayValues(f, *series);
  const auto t = pointTime(f, *series, 10);  // 10 * 3 * 0.5 = 15 minutes on
  ASSERT_TRUE(t);
  EXPECT_EQ(t->minute, 20);
}

TEST(TimeBase, RecomputesApproximateRatesFromTheClock) {
  EXPECT_DOUBLE_EQ(datafile::recomputedRate(0.05, 100.0, 2000, 0, 0.0), 0.05);
  EXPECT_DOUBLE_EQ(datafile::recomputedRate(0.0666667, 100.0, 2000, 0, 0.0), 100.0 / 2000.0);
  // Two full banks of 8,064 before the last bank's 1,000.
  EXPECT_DOUBLE_EQ(datafile::recomputedRate(0.0666667, 1000.0, 1000, 2, 8064.0), 1000.0 / (2 * 8064.0 + 1000.0));
  EXPECT_DOUBLE_EQ(datafile::recomputedRate(0.0666667, 0.5, 2000, 0, 0.0), 0.0666667);  // span of a minute or less
  EXPECT_DOUBLE_EQ(datafile::recomputedRate(1.0, 100.0, 2000, 0, 0.0), 1.0);            // not approximate
  EXPECT_DOUBLE_EQ(datafile::recomputedRate(0.0666667, 100.0, 0, 0, 0.0), 0.0666667);   // nothing recorded
}

TEST(TimeBase, WrapModeCorrectsApproximateRatesOfNewerModels) {
  EXPECT_NEAR(datafile::wrapCorrectedRate(0.05, '5'), 4.6 / 60.0, 1e-12);
  EXPECT_NEAR(datafile::wrapCorrectedRate(0.0333333, '6'), 2.3 / 60.0, 1e-12);
  EXPECT_NEAR(datafile::wrapCorrectedRate(0.1, '5'), 6.9 / 60.0, 1e-12);
  EXPECT_DOUBLE_EQ(datafile::wrapCorrectedRate(0.05, '4'), 0.05);
  EXPECT_DOUBLE_EQ(datafile::wrapCorrectedRate(1.0, '5'), 1.0);
}

}  // namespace
}  // namespace brevik::graph
