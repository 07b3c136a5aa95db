// The chart plan's plain parts: the stored view options and the chart's
// time axis.

#include <gtest/gtest.h>

#include "graph/chart_plan.h"

namespace brevik::graph {
namespace {

TEST(ChartPlan, ViewOptionsReadFromTheSettingsAndStoredBack) {
  settings::LoggerSettings s;
  s.GridMode = 2;
  s.SymbolSize = 3;
  s.ColorMode = 3;
  s.ThickPlotting = 1;
  s.MarkDataPoints = 0;
  s.GridInFront = 7;  // out of range: the default
  ViewOptions o = viewOptionsOf(s);
  EXPECT_EQ(o, (ViewOptions{GridLines::XAxis, FontSize::Large, ViewingStyle::MonochromeSymbols, true, false, false}));
  o.decimals = 0;  // neither this nor the file name is stored
  o.fileName = FileNameShown::None;
  settings::LoggerSettings written;
  storeViewOptions(o, written);
  EXPECT_EQ(viewOptionsOf(written), viewOptionsOf(s));
  s.GridMode = 4;
  s.SymbolSize = 0;
  s.ColorMode = 0;
  EXPECT_EQ(viewOptionsOf(s).grid, GridLines::Both);
  EXPECT_EQ(viewOptionsOf(s).fontSize, FontSize::Medium);
  EXPECT_EQ(viewOptionsOf(s).style, ViewingStyle::Color);
}

TEST(ChartPlan, ChartSecondsCountFromTheEpochWithMilliseconds) {
  struct Case {
    DateTime t;
    double seconds;
  };
  const Case cases[] = {
      {{1970, 1, 1, 0, 0, 0, 0, 4}, 0.0},
      {{2003, 6, 3, 9, 5, 0, 0, 2}, 1054631100.0},
      {{2003, 6, 3, 9, 5, 0, 250, 2}, 1054631100.25},
      {{2000, 2, 29, 23, 59, 59, 999, 2}, 951868799.999},
      {{1969, 12, 31, 23, 0, 0, 0, 3}, -3600.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_DOUBLE_EQ(chartSeconds(c.t), c.seconds);
    EXPECT_EQ(dateTimeOfChartSeconds(c.seconds), c.t);  // weekday included
  }
  // Values no file gives read as the epoch instead of overflowing.
  EXPECT_EQ(dateTimeOfChartSeconds(std::numeric_limits<double>::quiet_NaN()), (DateTime{1970, 1, 1, 0, 0, 0, 0, 4}));
  EXPECT_EQ(dateTimeOfChartSeconds(1e300), (DateTime{1970, 1, 1, 0, 0, 0, 0, 4}));
}

}  // namespace
}  // namespace brevik::graph
