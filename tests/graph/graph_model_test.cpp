// The graph window's model: opening files into the plan the chart draws,
// the layout it chooses, zoom and undo, unit changes and the markers.

#include <gtest/gtest.h>

#include "graph/graph_model.h"
#include "protocol/vocabulary.h"
#include "support/loaded_file_fixtures.h"
#include "support/temp_dir.h"

namespace brevik::graph {
namespace {

using fixtures::interleave;
using fixtures::linearHeader;

struct Graph {
  brevik::testing::TempDir home;
  settings::LoggerSettings settings;
  GraphModel model{settings, home.path(), "Brevik Logger"};

  Graph() {
    // Thermistor channels convert through the default table.
    std::filesystem::copy_file(brevik::testing::dataDir() / "C.Rvt", home / "C.Rvt");
  }

  std::filesystem::path write(std::string_view name, const datafile::DataFileHeaderFields& h,
                              const std::vector<std::vector<std::uint8_t>>& counts) const {
    return home.write(name, fixtures::buildFile(h, {interleave(counts)}));
  }
  std::vector<std::string> describe() const { return describeChart(model.plan(), false); }
};

std::vector<std::uint8_t> ramp(std::size_t n, std::uint8_t from = 0) {
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>((from + i) % 200);
  return v;
}

// A file of the given type codes, thermistors named by the default table.
datafile::DataFileHeaderFields typedHeader(std::string_view types, std::size_t samples) {
  auto h = linearHeader(static_cast<int>(types.size()), 'G', samples);
  for (std::size_t k = 0; k < types.size(); ++k) {
    h.typeCodes[k] = types[k];
    if (types[k] != '3') h.scalingTexts[k] = "C";
  }
  return h;
}

DateTime at(int hour, int minute) { return {2003, 6, 3, hour, minute, 0, 0, 2}; }

TEST(GraphModel, OpenedFileAsTheChartDescribesIt) {
  Graph g;
  auto h = linearHeader(2, 'G', 3);
  h.descriptions = {"Boiler~0,250;Deg F", "Water", "", ""};
  const auto p = g.write("golden.QX1", h, {{10, 20, 30}, {5, 6, 7}});
  ASSERT_TRUE(g.model.open(p).ok());
  EXPECT_EQ(g.settings.DataFileName, p.string());
  EXPECT_EQ(g.describe(), (std::vector<std::string>{
                              "Caption: Brevik Logger Graph",
                              "Title: Well4;siteB",
                              "X-axis label: golden.QX1",
                              "Points: 3",
                              "Samples per point: 1",
                              "Viewports: 2",
                              "Layout: 1,1",
                              "Viewport 1 channels: 1",
                              "Viewport 1 axis label: Deg F",
                              "Viewport 1 scale: 0,250",
                              "Viewport 2 channels: 2",
                              "Viewport 2 axis label: ",
                              "Viewport 2 scale: auto",
                              "Subset 1 channel: 1",
                              "Subset 1 legend: Boiler",
                              "Subset 1 colour slot: 1",
                              "Subset 2 channel: 2",
                              "Subset 2 legend: Water",
                              "Subset 2 colour slot: 2",
                              "Markers: on",
                              "X range: Tue  3-Jun-2003  9:05:00 to Tue  3-Jun-2003  9:07:00",
                          }));
  const ChartPlan plan = g.model.plan();
  EXPECT_EQ(plan.subsets[0].values, (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(plan.subsets[1].values, (std::vector<double>{5, 6, 7}));
  EXPECT_EQ(plan.times, (std::vector<double>{1054631100, 1054631160, 1054631220}));
  EXPECT_EQ(plan.viewports[0].scale, (AxisScale{true, 0.0, 250.0}));

  // A file that does not load leaves all of it as it was.
  const auto before = g.describe();
  EXPECT_FALSE(g.model.open(g.home / "absent.QX1").ok());
  EXPECT_EQ(g.settings.DataFileName, p.string());
  EXPECT_EQ(g.describe(), before);
}

TEST(GraphModel, ZoomKeepsTheLayoutAndUndoShowsEveryChannelInOneViewport) {
  Graph g;
  const auto p = g.write("four.QX1", linearHeader(4, 'G', 100), {ramp(100), ramp(100, 1), ramp(100, 2), ramp(100, 3)});
  ASSERT_TRUE(g.model.open(p).ok());
  ASSERT_EQ(g.model.viewportCount(), 4);
  g.model.applyViewports(3, {1, 1, 1, 0}, {true, false, true, true});
  EXPECT_EQ(g.model.visibleChannels(), (std::vector<int>{1, 3, 4}));

  const auto zoom = g.model.zoomIn(at(9, 15), at(9, 45));
  ASSERT_TRUE(zoom.ok());
  ASSERT_TRUE(zoom->applied) << zoom->message;
  ChartPlan plan = g.model.plan();
  EXPECT_TRUE(plan.zoomed);
  EXPECT_EQ(plan.times.size(), 31u);
  EXPECT_EQ(plan.viewports.size(), 3u);
  EXPECT_EQ(plan.subsets.size(), 3u);
  EXPECT_EQ(plan.subsets[1].channel, 3);

  ASSERT_TRUE(g.model.undoZoom().ok());
  plan = g.model.plan();
  EXPECT_FALSE(plan.zoomed);
  EXPECT_EQ(plan.times.size(), 100u);
  ASSERT_EQ(plan.viewports.size(), 1u);
  EXPECT_EQ(plan.viewports[0].subsets, (std::vector<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(g.settings.ViewportCount, 1);
  EXPECT_EQ(g.settings.ViewportLayout, (ViewportLayout{4, 0, 0, 0}));
}

// A table whose heading fixes degrees F; its rows a minute apart from 9:05.
std::string degFTable(int rows) {
  std::string table =
      "\"\r\n\r\n\"Source File: t.QX1\r\n\"ID: Site                             KALDO\r\n"
      "\"Ch1 lbl/scl: Tank                    /     0    255\r\n\"Ch2 lbl/scl: \r\n\"Ch3 lbl/scl: \r\n"
      "\"Ch4 lbl/scl: \r\n\"Rate (mins):  1.0000000000000        \r\n\"First:       Tue  3-Jun-2003  9:05:00\r\n"
      "\"Last:        Tue  3-Jun-2003  9:" +
      std::to_string(5 + rows - 1) + ":00\r\n\"Transferred: \r\n\"Eq. PC time: \r\n\r\n\"\r\n\r\nDate,Time,Ch1:Deg F\r\n";
  for (int i = 0; i < rows; ++i)
    table += "06/03/2003,09:" + std::to_string(5 + i) + ":00," + std::to_string(70 + i) + ".000\r\n";
  return table;
}

TEST(GraphModel, CelsiusOnATableWhoseQx1IsGoneRestoresFahrenheit) {
  Graph g;
  g.settings.FahrenheitUnits = 0;
  ASSERT_TRUE(g.model.open(g.home.write("t.QX2", degFTable(10))).ok());
  ASSERT_EQ(g.settings.FahrenheitUnits, 1);  // the table's heading says so
  const auto before = g.describe();
  const auto values = g.model.plan().subsets.at(0).values;

  const Status status = g.model.setFahrenheit(false);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message, "File: " + (g.home / "t.QX1").string() + " not found");
  EXPECT_EQ(g.settings.FahrenheitUnits, 1);
  EXPECT_EQ(g.describe(), before);
  EXPECT_EQ(g.model.plan().subsets.at(0).values, values);
}

TEST(GraphModel, CelsiusOnATableReloadsItsQx1KeepingTheZoom) {
  Graph g;
  auto h = typedHeader("A", 10);
  h.descriptions[0] = "Tank";
  h.last = "Tue  3-Jun-2003  9:14:00";
  g.write("t.QX1", h, {ramp(10, 100)});
  ASSERT_TRUE(g.model.open(g.home.write("t.QX2", degFTable(10))).ok());
  ASSERT_TRUE(g.model.zoomIn(at(9, 6), at(9, 10))->applied);
  ASSERT_EQ(g.model.plan().times.size(), 5u);

  ASSERT_TRUE(g.model.setFahrenheit(false).ok());
  EXPECT_EQ(g.settings.FahrenheitUnits, 0);
  EXPECT_FALSE(g.model.file().tableForm);
  EXPECT_EQ(g.model.file().fileName, g.home / "t.QX1");
  const ChartPlan plan = g.model.plan();
  EXPECT_TRUE(plan.zoomed);
  EXPECT_EQ(plan.times.size(), 5u);
  EXPECT_EQ(plan.xMin, chartSeconds(at(9, 6)));
  EXPECT_EQ(plan.viewports.at(0).axisLabel, "Deg C");
}

TEST(GraphModel, UnitChangesOnAnImageConvertAgain) {
  Graph g;
  auto h = typedHeader("A3", 5);
  h.inputModes = protocol::withInputMode(0, 2, protocol::kInputModeTempRh);
  g.settings.FahrenheitUnits = 1;
  ASSERT_TRUE(g.model.open(g.write("u.QX1", h, {ramp(5, 120), ramp(5, 80)})).ok());
  const ChartPlan before = g.model.plan();
  ASSERT_TRUE(g.model.setFahrenheit(false).ok());
  ASSERT_TRUE(g.model.setHumidityMode(1).ok());
  const ChartPlan after = g.model.plan();
  EXPECT_EQ(before.viewports.at(0).axisLabel + "|" + before.viewports.at(1).axisLabel, "Deg F|% RH");
  EXPECT_EQ(after.viewports.at(0).axisLabel + "|" + after.viewports.at(1).axisLabel, "Deg C|Dew P");
  EXPECT_NEAR(after.subsets[0].values[0] * 9.0 / 5.0 + 32.0, before.subsets[0].values[0], 1e-3);

  EXPECT_FALSE(g.model.setHumidityMode(3).ok());
  EXPECT_EQ(g.settings.HumidityMode, 1);
}

TEST(GraphModel, MarkersOnlyWhileEachPointIsOneSample) {
  Graph g;
  ASSERT_TRUE(g.model.open(g.write("long.QX1", linearHeader(1, 'G', 3000), {ramp(3000)})).ok());
  ASSERT_TRUE(g.model.options().markDataPoints);
  EXPECT_EQ(g.model.plan().factor, 2u);
  EXPECT_FALSE(g.model.plan().markers);

  ASSERT_TRUE(g.model.zoomIn(at(10, 0), at(11, 0))->applied);
  EXPECT_EQ(g.model.plan().factor, 1u);
  EXPECT_TRUE(g.model.plan().markers);

  ViewOptions options = g.model.options();
  options.markDataPoints = false;
  options.fileName = FileNameShown::None;
  g.model.setOptions(options);
  EXPECT_FALSE(g.model.plan().markers);
  EXPECT_EQ(g.model.plan().xAxisLabel, "");
  EXPECT_EQ(g.settings.MarkDataPoints, 0);
}

}  // namespace
}  // namespace brevik::graph
