// The graph window in the desktop: opening files from both menus and the
// main window, the twin menu items, zoom and its messages, and the main
// window held while the graph shows.

#include <QAction>
#include <gtest/gtest.h>

#include "desktop_fixture.h"
#include "graph/chart_plan.h"
#include "platform/qcustomplot_include.h"
#include "support/loaded_file_fixtures.h"
#include "ui/t_graph.h"

namespace brevik::testing {
namespace {

// A four-channel linear file, an hour of one-minute samples.
std::filesystem::path writeFourChannelFile(const Desktop& d, std::string_view name) {
  auto h = fixtures::linearHeader(4, 'G', 61);
  h.descriptions = {"Air", "Sol", "Eau", "Pression"};
  std::vector<std::vector<std::uint8_t>> counts(4, std::vector<std::uint8_t>(61));
  for (std::size_t k = 0; k < 61; ++k)
    for (std::size_t c = 0; c < 4; ++c) counts[c][k] = static_cast<std::uint8_t>(10 * c + k);
  return d.home.write(name, fixtures::buildFile(h, {fixtures::interleave(counts)}));
}

QAction* action(ui::TGraph& g, const char* name) {
  auto* a = g.findChild<QAction*>(name);
  if (a == nullptr) throw std::runtime_error(std::string("no action ") + name);
  return a;
}

double seconds(int hour, int minute) { return graph::chartSeconds(DateTime{2003, 6, 3, hour, minute, 0, 0, 2}); }

TEST(GraphWindow, OpenFromTheMainWindowHoldsItUntilTheGraphCloses) {
  Desktop d;
  const auto file = writeFourChannelFile(d, "four.qx1");
  ui::TGraph& g = d.desktop->graphWindow();

  d.files.answers = {QString()};  // cancelled: nothing shown, main window back
  d.trigger("Open1");
  EXPECT_FALSE(g.isVisible());
  EXPECT_TRUE(d.main().isEnabled());

  d.files.answers = {QString::fromStdString(file.string())};
  d.trigger("Open1");
  ASSERT_EQ(d.files.requests.size(), 2u);
  EXPECT_EQ(d.files.requests[1].filter,
            "All QX data (*.QX1 *.qx1);;QX2 data (*.QX2) (*.QX2 *.qx2);;MT5 data (*.QX5) (*.QX5 *.qx5)");
  EXPECT_EQ(d.files.requests[1].defaultSuffix, "qx1");
  EXPECT_TRUE(g.isVisible());
  EXPECT_FALSE(d.main().isEnabled());
  EXPECT_EQ(g.windowTitle(), "KALDO  Logger Graph");
  EXPECT_EQ(d.settings().DataFileName, file.string());
  EXPECT_EQ(g.chart().axisRectCount(), 4);  // linear channels: one viewport each

  action(g, "Exit1")->trigger();
  EXPECT_FALSE(g.isVisible());
  EXPECT_TRUE(d.main().isEnabled());
}

TEST(GraphWindow, AFileThatFailsToLoadLeavesTheWindowAsItWas) {
  Desktop d;
  const auto good = writeFourChannelFile(d, "four.qx1");
  const auto bad = d.home.write("bad.qx1", "not a data file\r\n");
  ui::TGraph& g = d.desktop->graphWindow();
  ASSERT_TRUE(g.openFile(good));
  const auto before = graph::describeChart(g.model().plan(), false);

  struct Case {
    std::filesystem::path file;
    MessageKind kind;
    std::string text;  // empty: any text
  };
  for (const Case& c : {Case{bad, MessageKind::Error, ""},
                        Case{d.home / "gone.qx1", MessageKind::Information, "File: " + (d.home / "gone.qx1").string() + " not found"}}) {
    d.prompter.messages.clear();
    d.files.answers = {QString::fromStdString(c.file.string())};
    action(g, "File3")->trigger();
    ASSERT_EQ(d.prompter.messages.size(), 1u) << c.file;
    EXPECT_EQ(d.prompter.messages[0].kind, c.kind) << c.file;
    if (!c.text.empty()) {
      EXPECT_EQ(d.prompter.messages[0].text, c.text);
    }
    EXPECT_EQ(graph::describeChart(g.model().plan(), false), before) << c.file;
  }
}

TEST(GraphWindow, TwinItemsAreCheckedTogetherAndStoreTheirOption) {
  struct Case {
    const char* clicked;
    const char* twin;
    std::function<int(const settings::LoggerSettings&)> stored;
    int expected;
    bool checked = true;  // a toggle that starts on is unchecked by the click
  };
  const std::vector<Case> cases = {
      {"FontSize1_Large", "FontSize2_Large", [](const auto& s) { return s.SymbolSize; }, 3},
      {"GridLines2_None", "GridLines1_None", [](const auto& s) { return s.GridMode; }, 0},
      {"GridinFront1", "GridinFront2", [](const auto& s) { return s.GridInFront; }, 1},
      {"MarkDataPoints2", "MarkDataPoints1", [](const auto& s) { return s.MarkDataPoints; }, 0, false},
      {"ThickPlotting1", "ThickPlotting2", [](const auto& s) { return s.ThickPlotting; }, 1},
      {"DisplayMode2_MonochromeSymbols", "DisplayMode1_MonochromeSymbols", [](const auto& s) { return s.ColorMode; }, 3},
      {"Temperature2_Celsius", "Temperature1_Celsius", [](const auto& s) { return s.FahrenheitUnits; }, 0},
      {"Moisture1_WetBulb", "Moisture2_WetBulb", [](const auto& s) { return s.HumidityMode; }, 2},
  };
  for (const Case& c : cases) {
    Desktop d;
    ui::TGraph& g = d.desktop->graphWindow();
    ASSERT_TRUE(g.openFile(writeFourChannelFile(d, "four.qx1")));
    action(g, c.clicked)->trigger();
    EXPECT_EQ(action(g, c.clicked)->isChecked(), c.checked) << c.clicked;
    EXPECT_EQ(action(g, c.twin)->isChecked(), c.checked) << c.twin;
    EXPECT_EQ(c.stored(d.settings()), c.expected) << c.clicked;
  }
  // Choices not stored still move both menus.
  Desktop d;
  ui::TGraph& g = d.desktop->graphWindow();
  action(g, "NumericPrecision1_NoDecimals")->trigger();
  EXPECT_TRUE(action(g, "NumericPrecision2_NoDecimals")->isChecked());
  EXPECT_FALSE(action(g, "NumericPrecision2_TwoDecimals")->isChecked());
  EXPECT_EQ(g.model().options().decimals, 0);
}

TEST(GraphWindow, ZoomSaysWhyItRefusesAndUndoGivesOneViewportOfAllChannels) {
  Desktop d;
  ui::TGraph& g = d.desktop->graphWindow();
  ASSERT_TRUE(g.openFile(writeFourChannelFile(d, "four.qx1")));
  EXPECT_FALSE(action(g, "UndoZoom1")->isEnabled());
  EXPECT_FALSE(action(g, "UndoZoom2")->isEnabled());

  g.zoomTo(seconds(9, 10), seconds(9, 11));  // two samples
  ASSERT_EQ(d.prompter.messages.size(), 1u);
  EXPECT_EQ(d.prompter.messages[0].text, "Maximum Zoom");
  EXPECT_FALSE(g.model().zoomed());

  g.zoomTo(seconds(9, 10), seconds(9, 30));
  EXPECT_TRUE(g.model().zoomed());
  EXPECT_TRUE(action(g, "UndoZoom1")->isEnabled());
  EXPECT_TRUE(action(g, "UndoZoom2")->isEnabled());
  EXPECT_EQ(g.chart().axisRectCount(), 4);  // the layout stays while zoomed

  action(g, "UndoZoom1")->trigger();
  EXPECT_FALSE(g.model().zoomed());
  EXPECT_FALSE(action(g, "UndoZoom2")->isEnabled());
  EXPECT_EQ(g.chart().axisRectCount(), 1);
  EXPECT_EQ(g.chart().graphCount(), 4);
}

TEST(GraphWindow, TheCommandLineDataFileIsShownOnTheFirstPaint) {
  Desktop d({"four.qx1"});
  writeFourChannelFile(d, "four.qx1");
  d.main().show();
  QApplication::processEvents();
  d.main().applyPaintRules();
  ui::TGraph& g = d.desktop->graphWindow();
  EXPECT_TRUE(g.isVisible());
  EXPECT_EQ(g.model().file().fileName.filename(), "four.qx1");
  EXPECT_FALSE(d.main().isEnabled());
}

}  // namespace
}  // namespace brevik::testing
