// The graph model in real-time mode: the chart it plans from the logger's
// status and its readings, and what the rest of the model does meanwhile.

#include <gtest/gtest.h>

#include "graph/graph_model.h"
#include "support/temp_dir.h"

namespace brevik::graph {
namespace {

constexpr double kNow = 1054631100;  // Tue 3 June 2003 9:05:00

protocol::LoggerStatus loggerStatus(std::uint8_t channelBits, std::array<char, 4> types,
                                    std::array<std::string, 4> descriptions, std::uint16_t inputModes = 0) {
  protocol::LoggerStatus s;
  s.channelBits = channelBits;
  s.typeCodes = types;
  s.descriptions = std::move(descriptions);
  s.inputModes = inputModes;
  s.session = "Well4;siteB                    ";
  return s;
}

struct Graph {
  brevik::testing::TempDir home;
  settings::LoggerSettings settings;
  GraphModel model{settings, home.path(), "Brevik Logger"};

  // The lines of the chart's description that tell its viewports.
  std::vector<std::string> viewportLines() const {
    std::vector<std::string> lines;
    for (const std::string& line : describeChart(model.plan(), false))
      if (line.starts_with("Viewport") || line.starts_with("Layout")) lines.push_back(line);
    return lines;
  }
};

TEST(GraphModelRealTime, ViewportsFromTheStatusScaledToTheirChannels) {
  struct Case {
    const char* name;
    protocol::LoggerStatus status;
    bool fahrenheit;
    std::vector<std::array<float, 4>> readings;
    std::vector<std::string> viewports;
  };
  const Case cases[] = {
      {"thermistors share one viewport",
       loggerStatus(0x07, {'A', 'B', 'P', '0'}, {"Air", "Water", "Pipe", ""}),
       true,
       {{50, 60, 70, 0}, {40, 65, 80, 0}},
       {"Viewports: 1", "Layout: 3", "Viewport 1 channels: 1,2,3", "Viewport 1 axis label: Deg F",
        "Viewport 1 scale: 39.6,80.8"}},
      {"a linear channel gets a viewport of its own",
       loggerStatus(0x05, {'A', '0', '3', '0'}, {"Air", "", "Flow;l/s", ""}),
       false,
       {{20, 0, 1.5f, 0}, {-5, 0, 2.5f, 0}},
       {"Viewports: 2", "Layout: 1,1", "Viewport 1 channels: 1", "Viewport 1 axis label: Deg C",
        "Viewport 1 scale: -5.05,20.2", "Viewport 2 channels: 3", "Viewport 2 axis label: l/s",
        "Viewport 2 scale: 1.485,2.525"}},
      {"a scale written in the description stays",
       loggerStatus(0x01, {'A', '0', '0', '0'}, {"Boiler~0,250;Deg F", "", "", ""}),
       false,
       {{300, 0, 0, 0}},
       {"Viewports: 1", "Layout: 1", "Viewport 1 channels: 1", "Viewport 1 axis label: Deg F",
        "Viewport 1 scale: 0,250"}},
      {"humidity pairs in two viewports",
       loggerStatus(0x0F, {'A', 'A', '3', '3'}, {"T1", "T2", "H1", "H2"}, 0x249),
       true,
       {{10, 12, 50, 60}},
       {"Viewports: 2", "Layout: 2,2", "Viewport 1 channels: 1,2", "Viewport 1 axis label: Deg F",
        "Viewport 1 scale: 9.9,12.12", "Viewport 2 channels: 3,4", "Viewport 2 axis label: % RH",
        "Viewport 2 scale: 49.5,60.6"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Graph g;
    g.settings.FahrenheitUnits = c.fahrenheit ? 1 : 0;
    g.model.startRealTime(c.status, kNow);
    for (std::size_t i = 0; i < c.readings.size(); ++i) g.model.appendReading(c.readings[i], kNow + static_cast<double>(i));
    EXPECT_EQ(g.viewportLines(), c.viewports);
  }
}

TEST(GraphModelRealTime, PlanOfTheReadingsAndTheModelMeanwhile) {
  Graph g;
  g.model.startRealTime(loggerStatus(0x05, {'3', '0', '3', '0'}, {"Flow;l/s", "", "Level~0,5;m", ""}), kNow);
  const std::array<float, 4> readings[] = {{10, 2, 3, 4}, {100, 2, 4, 4}, {30, 2, 5, 4}};
  for (int i = 0; i < 3; ++i) g.model.appendReading(readings[i], kNow + i);

  ChartPlan plan = g.model.plan();
  EXPECT_EQ(plan.caption, "Brevik Logger / Real Time Graph");
  EXPECT_EQ(plan.title, "Well4;siteB");
  EXPECT_EQ(plan.xAxisLabel, "");
  EXPECT_TRUE(plan.realTime);
  EXPECT_FALSE(plan.markers);  // whatever MarkDataPoints says
  EXPECT_EQ(plan.times, (std::vector<double>{kNow, kNow + 1, kNow + 2}));
  ASSERT_EQ(plan.subsets.size(), 2u);
  EXPECT_EQ(plan.subsets[0].values, (std::vector<double>{10, 100, 30}));
  EXPECT_EQ(plan.subsets[1].channel, 3);
  EXPECT_EQ(plan.subsets[1].values, (std::vector<double>{3, 4, 5}));
  EXPECT_EQ(plan.xMin, kNow);
  EXPECT_EQ(plan.xMax, kNow + 360);

  // No file is loaded while the readings come.
  EXPECT_FALSE(g.model.open(g.home / "any.QX1").ok());

  const auto expectScale = [&g](std::size_t viewport, double minimum, double maximum) {
    const AxisScale scale = g.model.plan().viewports.at(viewport).scale;
    EXPECT_TRUE(scale.manual);
    EXPECT_NEAR(scale.minimum, minimum, 1e-9);
    EXPECT_NEAR(scale.maximum, maximum, 1e-9);
  };
  // A past box narrows the Y range; the viewport dialog's OK widens it
  // again over every point, and keeps every channel shown.
  g.model.realTimeZoomIn(kNow + 1.5, kNow + 2, kNow + 5);
  EXPECT_TRUE(g.model.zoomed());
  expectScale(0, 29.7, 30.3);
  expectScale(1, 0, 5);  // channel 3's written scale
  g.model.applyViewports(1, {2, 0, 0, 0}, {true, false, false, true});
  EXPECT_EQ(g.model.plan().subsets.size(), 2u);
  EXPECT_EQ(g.model.plan().viewports.at(0).axisLabel, "");  // l/s and m
  expectScale(0, 2.97, 101);  // the written scale is not channel 1's

  g.model.realTimeUndoZoom(kNow + 400);
  EXPECT_FALSE(g.model.zoomed());
  EXPECT_EQ(g.model.plan().xMax, kNow + 430);

  g.model.stopRealTime();
  EXPECT_FALSE(g.model.realTime());
  EXPECT_FALSE(g.model.appendReading({1, 2, 3, 4}, kNow + 500).first);
  EXPECT_EQ(g.model.plan().caption, "Brevik Logger Graph");
  EXPECT_TRUE(g.model.plan().subsets.empty());
}

}  // namespace
}  // namespace brevik::graph
