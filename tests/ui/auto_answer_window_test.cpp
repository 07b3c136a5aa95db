// The main window in auto-answer mode against the virtual modem of the
// site-calls profile, in virtual time: waiting, the connect line, Timer1's
// five seconds, the call served with nothing shown, and waiting again.

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "program/main_window_rules.h"
#include "sim/virtual_modem.h"
#include "ui/desktop_fixture.h"

namespace brevik::testing {
namespace {

void answering(settings::LoggerSettings& s) {
  s.UseModem = 1;
  s.AutoAnswer = 1;
  s.NetworkMode = 1;
  s.FastProtocol = 0;
  s.BaudRate = 9600;
}

struct AnsweringDesktop : Desktop {
  AnsweringDesktop() : Desktop({}, "site-calls", answering) {}
  QLineEdit* aaEditbox() { return main().findChild<QLineEdit*>("aaEditbox"); }
  QTimer* timer1() { return main().findChild<QTimer*>("Timer1"); }
  bool locked() {
    // Graph1 is an item of the menu bar itself, the others are menus.
    for (std::string_view name : program::kAutoAnswerLockedMenus) {
      const QString n = QString::fromUtf8(name.data(), static_cast<int>(name.size()));
      auto* menu = main().findChild<QMenu*>(n);
      const QAction* action = menu != nullptr ? menu->menuAction() : main().findChild<QAction*>(n);
      if (action == nullptr || action->isEnabled()) return false;
    }
    for (std::string_view name : program::kAutoAnswerLockedControls) {
      const auto* control =
          main().findChild<QWidget*>(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
      if (control == nullptr || control->isEnabled()) return false;
    }
    return true;
  }
  bool runUntil(const std::function<bool()>& done, link::Ticks limit) {
    for (link::Ticks i = 0; i < limit && !done(); ++i) run(1);
    return done();
  }
};

TEST(AutoAnswerWindow, WaitsShowsTheConnectServesTheCallUnseenAndWaitsAgain) {
  AnsweringDesktop d;
  d.desktop->start();
  EXPECT_TRUE(d.locked());
  EXPECT_TRUE(d.main().findChild<QAction*>("MainSettings")->isEnabled());
  EXPECT_TRUE(d.main().findChild<QWidget*>("AutoAnswerLbl")->isVisible());
  d.run(61);
  EXPECT_EQ(d.aaEditbox()->text(), "WaitForConnect");
  EXPECT_TRUE(d.aaEditbox()->isVisible());
  EXPECT_FALSE(d.timer1()->isActive());

  // The first site rings in ten seconds after the start.
  ASSERT_TRUE(d.runUntil([&] { return d.aaEditbox()->text() == "CONNECT 9600"; }, 400));
  EXPECT_TRUE(d.timer1()->isActive());
  EXPECT_FALSE(d.session().exchangeRunning());
  ASSERT_TRUE(d.runUntil([&] { return d.session().exchangeRunning(); }, 100));
  EXPECT_FALSE(d.aaEditbox()->isVisible());
  EXPECT_FALSE(d.timer1()->isActive());
  EXPECT_FALSE(d.main().isEnabled());
  // In network mode the call shows as the modem panel, its button locked.
  EXPECT_TRUE(d.main().findChild<QWidget*>("ModemPanel")->isVisible());

  // Served: downloaded, the configuration sent 36 s later, hung up.
  ASSERT_TRUE(d.runUntil([&] { return d.session().autoAnswer().callsServed() == 1; }, 4000));
  ASSERT_TRUE(d.runUntil([&] { return d.aaEditbox()->text() == "WaitForConnect"; }, 100));
  EXPECT_TRUE(d.aaEditbox()->isVisible());
  EXPECT_TRUE(d.main().isEnabled());
  EXPECT_TRUE(d.locked());
  EXPECT_TRUE(d.prompter.messages.empty()) << d.prompter.messages[0].text;
  // Nothing came up for the status the call read.
  EXPECT_FALSE(d.desktop->statusForm().isVisible());
  const std::string log = d.log();
  EXPECT_NE(log.find("Rec. A000001.qx1"), std::string::npos) << log;
  EXPECT_NE(log.find("Sent A000001.qx1"), std::string::npos) << log;
  EXPECT_TRUE(std::filesystem::exists(d.home / "A000001.qx1"));
  EXPECT_FALSE(d.ctx().linkUp);
  EXPECT_FALSE(d.main().findChild<QWidget*>("ModemPanel")->isVisible());

  // The next site: the menus stay locked through its call too.
  ASSERT_TRUE(d.runUntil([&] { return d.session().exchangeRunning(); }, 600));
  EXPECT_TRUE(d.locked());
  ASSERT_TRUE(d.runUntil([&] { return d.session().autoAnswer().callsServed() == 2; }, 4000));
  EXPECT_TRUE(d.locked());
}

TEST(AutoAnswerWindow, LeavingTheModeUnlocksTheMenusAndClosesThePort) {
  AnsweringDesktop d;
  d.desktop->start();
  d.run(70);
  ASSERT_TRUE(d.port.isOpen());
  d.main().leaveAutoAnswer();
  EXPECT_FALSE(d.locked());
  EXPECT_TRUE(d.main().findChild<QMenu*>("Send")->menuAction()->isEnabled());
  EXPECT_FALSE(d.main().findChild<QWidget*>("AutoAnswerLbl")->isVisible());
  EXPECT_FALSE(d.aaEditbox()->isVisible());
  EXPECT_FALSE(d.port.isOpen());
  // No call is answered any more.
  d.run(1000);
  EXPECT_EQ(d.session().autoAnswer().callsServed(), 0u);
  EXPECT_FALSE(d.session().exchangeRunning());
  d.main().enterAutoAnswer();
  EXPECT_TRUE(d.locked());
  d.run(61);
  EXPECT_TRUE(d.port.isOpen());
  EXPECT_EQ(d.aaEditbox()->text(), "WaitForConnect");
}

TEST(AutoAnswerWindow, ClosingDuringACallCutsItHangsUpAndThenCloses) {
  AnsweringDesktop d;
  d.desktop->start();
  ASSERT_TRUE(d.runUntil([&] { return d.session().exchangeRunning(); }, 600));
  d.run(40);
  d.main().close();
  EXPECT_TRUE(d.main().isVisible());  // the modem first
  d.run(61);
  EXPECT_FALSE(d.main().isVisible());
  EXPECT_FALSE(d.port.isOpen());
  const auto& modem = static_cast<const sim::VirtualModem&>(*d.twin);
  EXPECT_FALSE(modem.callUp());
  EXPECT_NE(d.log().find(std::string(program::kStoppedDuringCallText)), std::string::npos) << d.log();
  for (const auto& e : std::filesystem::directory_iterator(d.home.path()))
    EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << e.path();
}

TEST(MainWindowClosing, HangsUpADialledCallBeforeTheWindowCloses) {
  Desktop d({}, "hayes-modem", [](settings::LoggerSettings& s) {
    s.UseModem = 1;
    s.PhoneNumber = "5551234";
    s.FastProtocol = 0;
    s.BaudRate = 9600;
  });
  d.main().show();
  d.trigger("Status1");
  ASSERT_TRUE(d.runUntilIdle(4000));
  ASSERT_TRUE(d.ctx().linkUp);
  const auto& modem = static_cast<const sim::VirtualModem&>(*d.twin);
  ASSERT_TRUE(modem.callUp());
  d.main().close();
  EXPECT_TRUE(d.main().isVisible());
  d.run(25);
  EXPECT_FALSE(modem.callUp());
  EXPECT_FALSE(d.ctx().linkUp);
  EXPECT_FALSE(d.port.isOpen());
  EXPECT_FALSE(d.main().isVisible());
}

TEST(AutoAnswerWindow, AStartWithoutTheMainWindowNeverOpensTheAutoAnswerPort) {
  Desktop d({"x", "h"}, "site-calls", answering);
  d.desktop->start();
  d.run(200);
  EXPECT_EQ(d.session().autoAnswer().state(), program::AutoAnswerState::Off);
  EXPECT_EQ(d.quits, 1);
}

}  // namespace
}  // namespace brevik::testing
