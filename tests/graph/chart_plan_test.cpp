// The chart plan's plain parts: the stored view options and the chart's
// time axis.

#include <gtest/gtest.h>

#include "graph/chart_plan.h"

namespace brevik::graph {
namespace {

TEST(ChartPlan, ViewOptionsReadFromTheSettingsAndStoredBack) {
  struct Case {
    std::array<std::uint8_t, 6> stored;  // GridMode SymbolSize ColorMode ThickPlotting MarkDataPoints GridInFront
    ViewOptions options;
  };
  const Case cases[] = {
      {{3, 2, 1, 0, 1, 0}, {}},
      {{0, 1, 3, 1, 0, 1},
       {GridLines::None, FontSize::Small, ViewingStyle::MonochromeSymbols, true, false, true, 2, FileNameShown::NameOnly}},
      {{2, 3, 2, 0, 1, 1},
       {GridLines::XAxis, FontSize::Large, ViewingStyle::Monochrome, false, true, true, 2, FileNameShown::NameOnly}},
      // Out of range values read as the defaults.
      {{4, 0, 9, 2, 7, 255}, {}},
  };
  for (const Case& c : cases) {
    settings::LoggerSettings s;
    s.GridMode = c.stored[0];
    s.SymbolSize = c.stored[1];
    s.ColorMode = c.stored[2];
    s.ThickPlotting = c.stored[3];
    s.MarkDataPoints = c.stored[4];
    s.GridInFront = c.stored[5];
    const ViewOptions read = viewOptionsOf(s);
    EXPECT_EQ(read, c.options);

    settings::LoggerSettings written;
    ViewOptions changed = read;
    changed.decimals = 0;
    changed.fileName = FileNameShown::None;
    storeViewOptions(changed, written);
    EXPECT_EQ(viewOptionsOf(written), read);  // decimals and the file name are not kept
  }
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
