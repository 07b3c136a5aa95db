// While an exchange runs, the main window takes no command: no shortcut, menu
// item or control starts a second exchange, and a repaint gives nothing back.
// Every way an exchange can end hands the window back.

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

#include "common/cp1252.h"
#include "desktop_fixture.h"
#include "ui/t_db_list.h"
#include "ui/t_modem_utilities.h"
#include "ui/desktop_view.h"

namespace brevik::testing {
namespace {

std::size_t opensIn(const std::vector<std::string>& trace) {
  return static_cast<std::size_t>(std::count_if(trace.begin(), trace.end(), [](const std::string& line) {
    return line.find("] * open ") != std::string::npos && line.find("open COM") == std::string::npos;
  }));
}

void pressShortcut(Desktop& d, Qt::Key key) {
  QTest::keyClick(&d.main(), key, Qt::ControlModifier);
  QApplication::processEvents();
}

enum class Ending { Success, Failure, Abort, PortMissing };

struct LockCase {
  const char* name;
  Ending ending;
  const char* command;      // the menu item that starts the exchange
  bool succeeded;
  const char* lastText;     // what the user is told last (Windows-1252 as UTF-8)
};

class ExchangeLock : public ::testing::TestWithParam<LockCase> {};

TEST_P(ExchangeLock, NothingStartsASecondExchangeAndTheOutcomeGivesTheWindowBack) {
  const LockCase c = GetParam();
  // A logger at 57600 while the settings say 2400: it never answers.
  Desktop d({}, "kaldo5-12bit", [&c](settings::LoggerSettings& s) {
    if (c.ending == Ending::Failure) s.BaudRate = 2400;
  });
  d.main().show();
  d.main().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d.main()));
  if (c.ending == Ending::PortMissing) d.port.setUnplugged(true);
  d.saveAnswer = QString::fromStdString((d.home / "site.qx1").string());

  d.trigger(c.command);
  if (c.ending == Ending::Abort) {
    for (int i = 0; i < 20000 && d.session().download().blockCount() < 3; ++i) d.run(1);
  } else {
    d.run(3);
  }

  if (c.ending != Ending::PortMissing) {
    ASSERT_TRUE(d.session().exchangeRunning()) << c.name;
    const std::size_t messages = d.prompter.messages.size();
    EXPECT_FALSE(d.main().isEnabled());
    EXPECT_FALSE(d.main().menuBar()->isEnabled());
    // A repaint once gave the window back in the middle of an exchange.
    d.main().repaint();
    d.main().update();
    QApplication::processEvents();
    EXPECT_FALSE(d.main().isEnabled());

    for (const Qt::Key key : {Qt::Key_S, Qt::Key_D, Qt::Key_T, Qt::Key_R, Qt::Key_L, Qt::Key_G})
      pressShortcut(d, key);
    // Even a command that reaches the program some other way starts nothing.
    for (const char* item : {"Status1", "DataFile1", "RealTimeDisplay1", "RealTimeGraph1", "Baudrate1"})
      d.trigger(item);
    d.run(1);
    EXPECT_EQ(opensIn(d.trace.lines), 1u) << c.name;
    EXPECT_EQ(d.prompter.messages.size(), messages) << c.name;
    EXPECT_FALSE(d.ctx().realTimeGraph);
    // Nor does one open a window over the exchange.
    for (QWidget* w : {static_cast<QWidget*>(&d.desktop->phoneListWindow()),
                       static_cast<QWidget*>(&d.desktop->localModemsWindow()),
                       static_cast<QWidget*>(&d.desktop->remoteModemsWindow()),
                       static_cast<QWidget*>(&d.desktop->comTestWindow())})
      EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
  }

  if (c.ending == Ending::Abort) d.desktop->commStatus().findChild<QPushButton*>("AbortBtn")->click();
  ASSERT_TRUE(d.runUntilIdle(40000)) << c.name;
  ASSERT_TRUE(d.session().lastOutcome().has_value());
  EXPECT_EQ(d.session().lastOutcome()->succeeded, c.succeeded) << c.name;
  EXPECT_EQ(toUtf8(d.session().lastOutcome()->lastText()).rfind(c.lastText, 0), 0u)
      << c.name << ": " << toUtf8(d.session().lastOutcome()->lastText());
  EXPECT_TRUE(d.main().isEnabled()) << c.name;
  EXPECT_FALSE(d.desktop->commStatus().isVisible());

  // The window is the user's again: its shortcut starts the next exchange.
  d.port.setUnplugged(false);
  d.main().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d.main()));
  const std::size_t before = opensIn(d.trace.lines);
  pressShortcut(d, Qt::Key_S);
  EXPECT_EQ(opensIn(d.trace.lines), before + 1) << c.name;
  EXPECT_TRUE(d.session().exchangeRunning());
}

INSTANTIATE_TEST_SUITE_P(
    Endings, ExchangeLock,
    ::testing::Values(LockCase{"success", Ending::Success, "Status1", true, ""},
                      LockCase{"failure", Ending::Failure, "Status1", false, "Pas de réponse de KALDO"},
                      LockCase{"abort", Ending::Abort, "DataFile1", false, "Transfert arrêté"},
                      LockCase{"port missing", Ending::PortMissing, "Status1", false, "Impossible d'ouvrir le PortCom"}),
    [](const ::testing::TestParamInfo<LockCase>& param) {
      std::string name = param.param.name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

}  // namespace
}  // namespace brevik::testing
