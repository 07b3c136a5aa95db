// The real-time graph's rolling window: how many readings it keeps, where
// its X axis runs as readings arrive, each channel's Y range, and the live
// zoom with its freeze and undo.

#include <gtest/gtest.h>

#include <cmath>

#include "graph/real_time_graph.h"

namespace brevik::graph {
namespace {

constexpr double kT0 = 1.0e9;  // chart seconds of the start

// Channel 1 reads the reading's number; channel 2 reads 500 for the first
// 200 readings, then 1, so the range shrinks once they are dropped.
TEST(RealTimeGraph, ReadingsKeptAndTheWindowTheyMove) {
  struct Case {
    const char* name;
    int regular;                // readings from the start, `spacing` seconds apart
    double spacing;
    std::vector<double> later;  // then readings at these seconds from the start
    std::size_t count;
    double front, xMin, xMax, windowStart;
    bool dropped;               // by the last reading
    double secondMaximum;
  };
  const Case cases[] = {
      {"999 readings fill the chart", 999, 0.25, {}, 999, 0, 0, 360, 0, false, 505},
      {"the 1,000th drops the oldest 200", 1000, 0.25, {}, 800, 50, 50, 360, 0, true, 1.01},
      {"the 1,200th drops 200 again", 1200, 0.25, {}, 800, 100, 100, 360, 0, true, 1.01},
      {"a reading at the window end leaves it", 1, 0, {360}, 2, 0, 0, 360, 0, false, 505},
      {"a reading past the end moves it by 30 s", 1, 0, {361}, 2, 0, 0, 390, 30, false, 505},
      {"a reading after a pause is still shown", 1, 0, {500}, 2, 0, 0, 510, 150, false, 505},
      {"a reading a second for 1,000 s", 1000, 1.0, {}, 800, 200, 200, 1020, 660, true, 1.01},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RealTimeGraph g;
    g.start({1, 2}, kT0);
    RealTimeGraph::Appended last;
    int n = 0;
    const auto add = [&](double t) {
      last = g.append({static_cast<float>(n), n < 200 ? 500.0f : 1.0f}, t);
      EXPECT_EQ(last.first, n++ == 0);
    };
    for (int i = 0; i < c.regular; ++i) add(kT0 + i * c.spacing);
    for (double t : c.later) add(kT0 + t);
    ASSERT_EQ(g.count(), c.count);
    EXPECT_EQ(g.values(1).size(), c.count);
    EXPECT_EQ(g.times().front(), kT0 + c.front);
    EXPECT_EQ(g.values(0).front(), c.regular > 1 ? c.front / c.spacing : 0.0);
    EXPECT_EQ(g.xMin(), kT0 + c.xMin);
    EXPECT_EQ(g.xMax(), kT0 + c.xMax);
    EXPECT_EQ(g.windowStart(), kT0 + c.windowStart);
    EXPECT_EQ(g.windowEnd(), kT0 + c.xMax);
    EXPECT_EQ(last.dropped, c.dropped);
    EXPECT_NEAR(g.range(1).maximum, c.secondMaximum, 1e-9);
  }
}

TEST(RealTimeGraph, YRangeOfOneChannel) {
  const float nan = std::nanf("");
  struct Case {
    const char* name;
    std::vector<float> values;
    YRange range;
  };
  const Case cases[] = {
      {"the first point", {100}, {99, 101}},
      {"lower and higher points widen it", {100, 50, 200}, {49.5, 202}},
      {"a point inside the margin leaves it", {100, 99.5f, 100.5f}, {99, 101}},
      {"zero", {0}, {0, 0}},
      {"a negative point lies inside its range", {-10}, {-10.1, -9.9}},
      {"negative points", {-10, -5}, {-10.1, -4.95}},
      {"across zero", {-10, 5}, {-10.1, 5.05}},
      {"a point that is not a number is left out", {nan, 10, nan}, {9.9, 10.1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RealTimeGraph g;
    g.start({3}, kT0);
    for (std::size_t i = 0; i < c.values.size(); ++i) g.append({c.values[i]}, kT0 + static_cast<double>(i));
    ASSERT_TRUE(g.hasRange(0));
    EXPECT_NEAR(g.range(0).minimum, c.range.minimum, 1e-4);
    EXPECT_NEAR(g.range(0).maximum, c.range.maximum, 1e-4);
    for (float v : c.values) {
      if (std::isnan(v)) continue;
      EXPECT_TRUE(g.range(0).minimum <= v && v <= g.range(0).maximum) << v;
    }
  }
}

// Readings at 0 .. 299 s of value t on channel 1 and -t on channel 2; a
// zoom box, one more reading (1000 and -1000), then undo.
TEST(RealTimeGraph, LiveZoomFreezeAndUndo) {
  struct Case {
    const char* name;
    double from, to, now;
    bool frozen;
    double xMin, xMax;
    YRange first;              // channel 1 in the box (channel 2 the mirror)
    double next;               // the next reading
    double nextXMin, nextXMax;
    double undoNow, undoneXMax;
  };
  const Case cases[] = {
      {"a past box freezes the chart", 100, 200, 299, true, 100, 200, {99, 202}, 361, 100, 200, 370, 390},
      {"undo after the X maximum moves it to now + 30 s", 100, 200, 299, true, 100, 200, {99, 202}, 361, 100, 200, 395,
       425},
      {"a box reaching now widens the window by 1.1", 200, 299, 299, false, 200, 308.9, {198, 299 * 1.01}, 310, 230,
       338.9, 320, 338.9},
      {"a box past the last point", 250, 400, 299, false, 250, 415, {247.5, 299 * 1.01}, 310, 250, 415, 320, 360},
      {"a box after every point keeps the ranges", 350, 400, 299, false, 350, 405, {0, 299 * 1.01}, 310, 350, 405, 320,
       360},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RealTimeGraph g;
    g.start({1, 2}, 0);
    for (int t = 0; t < 300; ++t) g.append({static_cast<float>(t), static_cast<float>(-t)}, t);
    g.zoomIn(c.to, c.from, c.now);  // the box's sides in either order
    EXPECT_TRUE(g.zoomed());
    EXPECT_EQ(g.frozen(), c.frozen);
    EXPECT_NEAR(g.xMin(), c.xMin, 1e-9);
    EXPECT_NEAR(g.xMax(), c.xMax, 1e-9);
    EXPECT_NEAR(g.range(0).minimum, c.first.minimum, 1e-9);
    EXPECT_NEAR(g.range(0).maximum, c.first.maximum, 1e-9);
    EXPECT_NEAR(g.range(1).minimum, -c.first.maximum, 1e-9);
    EXPECT_NEAR(g.range(1).maximum, -c.first.minimum, 1e-9);

    g.append({1000, -1000}, c.next);
    EXPECT_NEAR(g.xMin(), c.nextXMin, 1e-9);
    EXPECT_NEAR(g.xMax(), c.nextXMax, 1e-9);

    g.undoZoom(c.undoNow);
    EXPECT_FALSE(g.zoomed());
    EXPECT_FALSE(g.frozen());
    EXPECT_EQ(g.xMin(), 0);
    EXPECT_NEAR(g.xMax(), c.undoneXMax, 1e-9);
    EXPECT_EQ(g.range(0), (YRange{0, 1010}));
    EXPECT_EQ(g.range(1), (YRange{-1010, 0}));
  }
}

}  // namespace
}  // namespace brevik::graph
