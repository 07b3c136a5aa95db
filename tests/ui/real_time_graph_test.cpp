// The real-time graph in the desktop: readings from the virtual logger feed
// the graph window, which asks before its close ends them, and the windows
// still to come ask before they end it.

#include <QAction>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "desktop_fixture.h"
#include "platform/qcustomplot_include.h"
#include "ui/t_comm_status.h"
#include "ui/t_graph.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;

// The graph running with a few readings drawn.
void startGraph(Desktop& d) {
  d.trigger("RealTimeGraph1");
  for (int i = 0; i < 400 && d.desktop->graphWindow().model().realTimeGraph().count() < 3; ++i) d.run(1);
}

std::size_t points(Desktop& d) { return d.desktop->graphWindow().model().realTimeGraph().count(); }

TEST(RealTimeGraph, ReadingsShowTheWindowAndLeaveTheValueBoxesAlone) {
  Desktop d;
  startGraph(d);
  ui::TGraph& g = d.desktop->graphWindow();
  // The status reply filled the form; the readings leave it as it is.
  const QString valueBefore = d.text(&d.desktop->statusForm(), "Value1Box");
  d.run(50);
  ASSERT_GE(points(d), 3u) << (d.messageTexts().empty() ? "" : d.messageTexts()[0]);
  EXPECT_TRUE(g.isVisible());
  EXPECT_EQ(g.windowTitle(), "KALDO  Logger / Real Time Graph");
  EXPECT_EQ(g.chart().graphCount(), 4);
  for (const char* name : {"Export1", "ExportDialog1", "Temperature1_Celsius", "Moisture2_DewPoint"})
    EXPECT_FALSE(g.findChild<QAction*>(name)->isEnabled()) << name;
  EXPECT_FALSE(d.desktop->statusForm().isVisible());
  EXPECT_EQ(d.text(&d.desktop->statusForm(), "Value1Box"), valueBefore);
  EXPECT_TRUE(d.main().isEnabled());  // its commands ask before they end the graph
}

TEST(RealTimeGraph, ClosingAsksWhetherTheReadingsEnd) {
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    Desktop d;
    startGraph(d);
    ui::TGraph& g = d.desktop->graphWindow();
    ASSERT_TRUE(g.isVisible());
    d.prompter.answers = {answer};
    g.close();
    ASSERT_EQ(d.prompter.messages.size(), 1u);
    EXPECT_EQ(d.prompter.messages[0].text, "Vider le tampon graphique?");
    EXPECT_EQ(d.prompter.messages[0].buttons, Buttons::YesNo);
    EXPECT_FALSE(g.isVisible());
    EXPECT_TRUE(d.main().isVisible());
    const std::size_t before = points(d);
    d.run(100);
    if (answer == Answer::No) {
      // The readings go on, without their communication window.
      EXPECT_GT(points(d), before);
      EXPECT_TRUE(d.ctx().realTimeGraph);
      EXPECT_FALSE(d.desktop->commStatus().isVisible());
      // Shown again from the main window, with everything kept.
      d.trigger("RealTimeGraph1");
      EXPECT_TRUE(g.isVisible());
    } else {
      EXPECT_FALSE(d.session().exchangeRunning());
      EXPECT_FALSE(g.model().realTime());
    }
  }
}

TEST(RealTimeGraph, WindowsThatEndItAskFirst) {
  struct Row {
    bool (program::DesktopSession::*guard)();
    const char* text;
  };
  const Row rows[] = {
      {&program::DesktopSession::passSetupSendGuard, "Cette action va arréter le Graph TempsRéel"},
      {&program::DesktopSession::passRemoteModemGuard, "Cette action va arréter le Graph tempsRéel"},
      {&program::DesktopSession::passComTestGuard, "This action will terminate Real Time Graph"},
  };
  for (const Row& r : rows) {
    for (const Answer answer : {Answer::Cancel, Answer::Ok}) {
      Desktop d;
      startGraph(d);
      d.prompter.answers = {answer};
      const bool passed = (d.session().*r.guard)();
      ASSERT_EQ(d.prompter.messages.size(), 1u) << r.text;
      EXPECT_EQ(toUtf8(d.prompter.messages[0].text), r.text);
      EXPECT_EQ(passed, answer == Answer::Ok) << r.text;
      d.run(50);
      EXPECT_EQ(d.ctx().realTimeGraph, answer == Answer::Cancel) << r.text;
    }
  }
  // Without a graph the guards ask nothing.
  Desktop d;
  EXPECT_TRUE(d.session().passSetupSendGuard());
  EXPECT_TRUE(d.prompter.messages.empty());
}

TEST(RealTimeGraph, AZoomInThePastFreezesTheChartUntilUndone) {
  Desktop d;
  startGraph(d);
  ui::TGraph& g = d.desktop->graphWindow();
  const auto& live = g.model().realTimeGraph();
  ASSERT_GE(live.count(), 3u);
  // A minute later, a box around the first readings lies in the past.
  d.clock.set(DateTime{2026, 12, 8, 10, 31, 0, 0, 2});
  d.run(20);
  g.zoomTo(live.times()[0] - 1.0, live.times()[0] + 1.0);
  EXPECT_TRUE(live.frozen());
  EXPECT_TRUE(g.findChild<QAction*>("UndoZoom2")->isEnabled());
  auto shownMax = [&] { return g.chart().axisRect(0)->axis(QCPAxis::atBottom)->range().upper; };
  const double before = shownMax();
  const std::size_t pointsBefore = live.count();
  d.run(100);
  EXPECT_GT(live.count(), pointsBefore);  // still kept,
  EXPECT_EQ(shownMax(), before);          // but not drawn while frozen
  g.findChild<QAction*>("UndoZoom1")->trigger();
  EXPECT_FALSE(live.frozen());
  EXPECT_FALSE(g.findChild<QAction*>("UndoZoom2")->isEnabled());
}

}  // namespace
}  // namespace brevik::testing
