// TMain: menu items, guards and their messages, the station field, paint and closing.

#include <QDialog>
#include <QKeySequence>
#include <QLabel>
#include <QToolButton>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "desktop_fixture.h"
#include "link/framing.h"
#include "ui/desktop_view.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;

TEST(MainWindow, SettingsOutOfRangeAreNamedOnceAtStartUp) {
  Desktop d({}, "kaldo5-12bit", [](settings::LoggerSettings& s) {
    s.BaudRate = 1094795585;
    s.PortNumber = 42;
  });
  d.desktop->start();
  ASSERT_EQ(d.prompter.messages.size(), 1u);
  EXPECT_EQ(d.prompter.messages[0].kind, MessageKind::Warning);
  EXPECT_EQ(d.prompter.messages[0].text,
            "kvlog.ini: BaudRate, PortNumber hold a value out of range and read as their defaults");
  EXPECT_EQ(d.settings().BaudRate, 19200u);
  EXPECT_EQ(d.settings().PortNumber, 1u);
  Desktop sound;
  sound.desktop->start();
  EXPECT_TRUE(sound.prompter.messages.empty());
}

TEST(MainWindow, MenuItemsHaveTheirCaptionsShortcutsAndNames) {
  Desktop d;
  struct Item {
    const char* name;
    const char* caption;
    const char* shortcut;
  };
  const Item items[] = {
      {"Open1", "&Graph", ""},          {"OpenSetup1", "&Confi", ""},
      {"Showlaststatus1", "&DernierEtat", "Ctrl+L"}, {"MMExit", "E&xit", ""},
      {"MMSetup", "&Confi", ""},        {"StaAddr", "Station &Adresse", ""},
      {"ChangeScaling1", "Echelle / &Labels", ""},   {"Baudrate1", "MàJ.Kaldo &Baud Fréq", ""},
      {"DataFile1", "&Data", "Ctrl+D"}, {"Status1", "&Etat  ", "Ctrl+S"},
      {"RealTimeDisplay1", "Temps&Réel", "Ctrl+T"},   {"RealTimeGraph1", "&GraphTempsRéel ", "Ctrl+R"},
      {"Graph1", "&Graph   ", "Ctrl+G"}, {"MainSettings", "L&iaison RS ", ""},
      {"EditPhoneList1", "&Liste Tél.", ""},          {"SelectLocal1", "&Modem local", ""},
      {"ConfigureRemote1", "&Modem Site  ", ""},     {"ComTest1", "Com &Test", ""},
      {"Contents1", "&Contents", ""},   {"About1", "&Ver. ", ""},
  };
  for (const Item& i : items) {
    auto* a = d.main().findChild<QAction*>(i.name);
    ASSERT_NE(a, nullptr) << i.name;
    EXPECT_EQ(a->text(), QString::fromUtf8(i.caption)) << i.name;
    EXPECT_EQ(a->shortcut(), QKeySequence(i.shortcut)) << i.name;
  }
  EXPECT_FALSE(d.main().findChild<QAction*>("Terminal1")->isVisible());
  EXPECT_EQ(d.main().findChild<QMenu*>("ReceivefromLogger1")->title(), "&Recevoir  ");
  EXPECT_EQ(d.main().windowTitle(), "KALDO  Logger Setup");
}

TEST(MainWindow, RealTimeGraphGuardCancelLeavesEverythingAsItWas) {
  struct Row {
    const char* action;
    const char* text;
  };
  const Row rows[] = {
      {"DataFile1", "This action will terminate Real Time Graph"},
      {"Status1", "This action will terminate Real Time Graph"},
      {"RealTimeDisplay1", "This action will terminate Real Time Graph"},
      {"StaAddr", "This action will terminate Real Time Graph"},
      {"Baudrate1", "This action will terminate Real Time Graph"},
      {"ChangeScaling1", "This action will terminate Real Time Graph"},
      {"MMSetup", "Cette action va interrompre graphTempsRéel"},
      {"OpenSetup1", "Cette action va interrompre graphTempsRéel"},
  };
  for (const Row& r : rows) {
    Desktop d;
    d.trigger("RealTimeGraph1");
    d.run(2);
    ASSERT_TRUE(d.ctx().realTimeGraph);
    // The graph leaves the main window to the user; its commands ask first.
    EXPECT_TRUE(d.main().isEnabled());
    d.prompter.answers.push_back(Answer::Cancel);
    const std::uint32_t baud = d.settings().BaudRate;
    d.trigger(r.action);
    ASSERT_EQ(d.prompter.messages.size(), 1u) << r.action;
    EXPECT_EQ(toUtf8(d.prompter.messages[0].text), r.text) << r.action;
    EXPECT_EQ(d.prompter.messages[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(d.ctx().kind, ExchangeKind::RealTime) << r.action;
    EXPECT_TRUE(d.port.isOpen()) << r.action;
    EXPECT_EQ(d.settings().BaudRate, baud);
    EXPECT_TRUE(d.ctx().realTimeGraph);
  }
}

TEST(MainWindow, CommandsRefusedWithTheirMessages) {
  {
    Desktop d;
    d.trigger("Showlaststatus1");
    EXPECT_EQ(d.messageTexts(), std::vector<std::string>{std::string(program::kNoStatusYetText)});
  }
  {
    Desktop d({}, "kaldo5-12bit", [](settings::LoggerSettings& s) { s.NetworkMode = 1; });
    d.trigger("StaAddr");
    ASSERT_EQ(d.prompter.messages.size(), 1u);
    EXPECT_EQ(d.prompter.messages[0].text, program::kSingleLoggerOnlyText);
    EXPECT_EQ(d.prompter.messages[0].kind, MessageKind::Warning);
  }
  {
    Desktop d({}, "kaldo5-12bit", [](settings::LoggerSettings& s) { s.UseModem = 1; s.NetworkMode = 1; });
    d.trigger("Baudrate1");
    EXPECT_EQ(d.messageTexts(), std::vector<std::string>{std::string(program::kUncheckModemText)});
    EXPECT_EQ(d.ctx().kind, ExchangeKind::None);
  }
}

TEST(MainWindow, ReceiveNeedsAQx1NameAndDropsTheOldTableForm) {
  Desktop d;
  (void)d.home.write("site.QX2", "old");
  EXPECT_FALSE(d.session().receiveData("site.dat"));
  EXPECT_EQ(d.messageTexts(), std::vector<std::string>{std::string(program::kQx1OnlyText)});
  EXPECT_EQ(d.prompter.messages[0].kind, MessageKind::Error);
  EXPECT_TRUE(std::filesystem::exists(d.home / "site.QX2"));

  EXPECT_TRUE(d.session().receiveData("site.qx1"));
  EXPECT_FALSE(std::filesystem::exists(d.home / "site.QX2"));
  EXPECT_EQ(d.ctx().kind, ExchangeKind::Receive);
  EXPECT_EQ(d.desktop->program().globals().currentDataFileName, "site.qx1");
}

TEST(MainWindow, StationFieldChangesTheAddressOfTheNextFrame) {
  Desktop d({}, "network-station12", [](settings::LoggerSettings& s) {
    s.NetworkMode = 1;
    s.StationAddress = 3;
  });
  d.main().show();
  QApplication::processEvents();
  d.main().applyPaintRules();
  auto* field = d.main().findChild<QLineEdit*>("NetFieldMain");
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(field->isVisible());
  EXPECT_EQ(field->text(), "3");
  field->selectAll();
  QTest::keyClicks(field, "12");
  EXPECT_EQ(d.settings().StationAddress, 12);
  d.trigger("Status1");
  d.run(200);
  const std::string expected = "> >" + link::frameCommand("C", d.ctx().firmwareLetter, 12);
  std::string firstFrame;
  for (const std::string& line : d.trace.lines)
    if (line.find("> >") != std::string::npos) {
      firstFrame = line.substr(line.find("> >"));
      break;
    }
  EXPECT_EQ(firstFrame, expected);
}

TEST(MainWindow, SpinnerWrapsAroundTheByte) {
  Desktop d({}, "kaldo5-12bit", [](settings::LoggerSettings& s) {
    s.NetworkMode = 1;
    s.StationAddress = 255;
  });
  d.main().findChild<QToolButton*>("NetSpinMainUp")->click();
  EXPECT_EQ(d.settings().StationAddress, 0);
  d.main().findChild<QToolButton*>("NetSpinMainDown")->click();
  EXPECT_EQ(d.settings().StationAddress, 255);
}

TEST(MainWindow, PaintShowsPhoneAndStationControlsBySettings) {
  for (int network = 0; network < 2; ++network)
    for (int modem = 0; modem < 2; ++modem) {
      Desktop d({}, "kaldo5-12bit", [&](settings::LoggerSettings& s) {
        s.NetworkMode = static_cast<std::uint8_t>(network);
        s.UseModem = static_cast<std::uint8_t>(modem);
      });
      d.main().show();
      d.main().applyPaintRules();
      EXPECT_EQ(d.main().findChild<QWidget*>("NetFieldMain")->isVisible(), network == 1);
      EXPECT_EQ(d.main().findChild<QWidget*>("NetSpinMain")->isVisible(), network == 1);
      EXPECT_EQ(d.main().findChild<QWidget*>("PhoneBox")->isVisible(), modem == 1);
      EXPECT_FALSE(d.main().findChild<QWidget*>("ModemPanel")->isVisible());
      EXPECT_EQ(d.main().windowTitle(), "KALDO  Logger");
    }
}

TEST(MainWindow, AutoAnswerModeLocksTheMenusThatStartExchanges) {
  Desktop d({}, "kaldo5-12bit", [](settings::LoggerSettings& s) {
    s.UseModem = 1;
    s.NetworkMode = 1;
    s.AutoAnswer = 1;
  });
  for (const char* menu : {"MMFile", "Send", "ReceivefromLogger1", "Modem1", "Utilities1"})
    EXPECT_FALSE(d.main().findChild<QMenu*>(menu)->menuAction()->isEnabled()) << menu;
  EXPECT_FALSE(d.main().findChild<QAction*>("Graph1")->isEnabled());
  EXPECT_TRUE(d.main().findChild<QAction*>("MainSettings")->isEnabled());
  EXPECT_TRUE(d.main().findChild<QMenu*>("Help1")->menuAction()->isEnabled());
  d.main().show();
  EXPECT_TRUE(d.main().findChild<QWidget*>("AutoAnswerLbl")->isVisible());
  d.main().leaveAutoAnswer();
  EXPECT_TRUE(d.main().findChild<QMenu*>("Send")->menuAction()->isEnabled());
  EXPECT_FALSE(d.main().findChild<QWidget*>("AutoAnswerLbl")->isVisible());
}

TEST(MainWindow, ClosingSavesTheSettingsWithTheFastProtocolRule) {
  Desktop d({}, "kaldo5-12bit", [](settings::LoggerSettings& s) { s.FastProtocol = 0; });
  d.main().show();
  d.main().close();
  const settings::LoggerSettings saved = settings::loadSettings(d.home.path());
  EXPECT_EQ(saved.BaudRate, 57600u);
  EXPECT_EQ(saved.FastProtocol, 1);
  EXPECT_EQ(std::filesystem::file_size(d.home / "kvlog.ini"), settings::kLoggerSettingsSize);
}

}  // namespace
}  // namespace brevik::testing
