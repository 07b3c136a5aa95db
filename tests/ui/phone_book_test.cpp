// The phone book and modem windows: TDB0, TDB1, TDB2 opened from the menus
// and the phone boxes, used through their controls; TCremote1 and
// TComTestDlg running their exchanges against the virtual line; the phone
// book's entry chosen before dialling.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "desktop_fixture.h"
#include "sim/loopback_plug.h"
#include "ui/t_db_list.h"
#include "ui/t_setup.h"
#include "ui/t_modem_utilities.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;

template <typename T>
T* control(QWidget* window, const char* name) {
  T* c = window->findChild<T*>(name);
  if (c == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return c;
}

void click(QWidget* window, const char* button) { control<QPushButton>(window, button)->click(); }

void type(QWidget* window, const char* edit, const QString& text) {
  auto* e = control<QLineEdit>(window, edit);
  e->selectAll();
  e->del();
  QTest::keyClicks(e, text);
}

QStringList listed(QWidget* window) {
  QStringList names;
  auto* list = control<QListWidget>(window, "ListBox1");
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  return names;
}

void clickPhoneBox(QWidget* window) {
  auto* box = control<QLineEdit>(window, "PhoneBox");
  QTest::mouseClick(box, Qt::LeftButton);
}

struct OpeningCase {
  const char* how;  // a menu item, or "PhoneBox" / "SetupPhoneBox"
  const char* window;
  QString caption;
  QString label2;
  bool configButton;
};

TEST(PhoneBook, MenusAndPhoneBoxesOpenTheirModalWindows) {
  const std::vector<OpeningCase> cases = {
      {"EditPhoneList1", "TDB0", QString::fromUtf8("Liste Tél."), QString::fromUtf8("&Numéro Tél. "), false},
      {"PhoneBox", "TDB0", QString::fromUtf8("Liste Tél."), QString::fromUtf8("&Numéro Tél. "), false},
      {"SetupPhoneBox", "TDB0", QString::fromUtf8("Liste Tél."), QString::fromUtf8("&Numéro Tél. "), false},
      {"SelectLocal1", "TDB1", "Local Modem", "&Chaine carac", false},
      {"ConfigureRemote1", "TDB2", "Modem Site  ", "&Chaine carac", true},
      {"ComTest1", "TComTestDlg", "Test de Communication Cable& Port", "", false},
  };
  for (const OpeningCase& c : cases) {
    SCOPED_TRACE(c.how);
    Desktop d({}, "kaldo5-12bit", [](settings::LoggerSettings& s) { s.UseModem = 1; });
    d.main().show();
    d.main().applyPaintRules();
    if (std::string(c.how) == "PhoneBox") clickPhoneBox(&d.main());
    else if (std::string(c.how) == "SetupPhoneBox") {
      d.trigger("OpenSetup1");
      clickPhoneBox(&d.desktop->setupWindow());
    } else {
      d.trigger(c.how);
    }
    QWidget* w = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top->objectName() == c.window) w = top;
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(w->windowTitle(), c.caption);
    if (std::string(c.window) == "TComTestDlg") {
      EXPECT_EQ(control<QPushButton>(w, "ComTestBtn")->text(), "Test");
      EXPECT_EQ(control<QLabel>(w, "Instruction3")->text(),
                QString::fromUtf8("2. Relierl'extremité du jack RS au pole milieu  "));
      for (const char* b : {"OKBtn", "CancelBtn", "HelpBtn"}) EXPECT_NO_THROW(control<QPushButton>(w, b));
      continue;
    }
    EXPECT_EQ(control<QLabel>(w, "Label1")->text(), "&Nom ");
    EXPECT_EQ(control<QLabel>(w, "Label2")->text(), c.label2);
    EXPECT_EQ(control<QGroupBox>(w, "GroupBox1")->title(), "S&elect");
    EXPECT_EQ(control<QPushButton>(w, "InsertBtn")->text(), "&Insert");
    EXPECT_EQ(control<QPushButton>(w, "ModBtn")->text(), "&Modif.");
    EXPECT_EQ(control<QPushButton>(w, "DelBtn")->text(), "&Delete");
    for (const char* b : {"OKBtn", "CancelBtn", "HelpBtn", "Edit1", "Edit2"}) EXPECT_NE(w->findChild<QWidget*>(b), nullptr);
    EXPECT_EQ(w->findChild<QPushButton*>("ConfigBtn") != nullptr, c.configButton);
  }
}

TEST(PhoneBook, EditingThroughTheWindowAndOkChoosingTheSite) {
  Desktop d({}, "kaldo5-12bit", [](settings::LoggerSettings& s) { s.UseModem = 1; });
  d.main().show();
  d.trigger("EditPhoneList1");
  QWidget* w = &d.desktop->phoneListWindow();

  click(w, "InsertBtn");
  EXPECT_EQ(d.messageTexts(), std::vector<std::string>{"You must enter a Name"});
  EXPECT_EQ(d.desktop->phoneListWindow().model().focus(), phonebook::EditFocus::Name);

  for (const auto& [name, number] : {std::pair{"Quay", "5551000"}, {"Harbour", "5552000"}, {"Mill", "5553000"}}) {
    type(w, "Edit1", name);
    type(w, "Edit2", number);
    click(w, "InsertBtn");
  }
  EXPECT_EQ(listed(w), (QStringList{"Harbour", "Mill", "Quay"}));
  EXPECT_EQ(control<QListWidget>(w, "ListBox1")->currentRow(), 1);  // the last one inserted

  type(w, "Edit1", "harbour");
  click(w, "InsertBtn");
  EXPECT_EQ(d.messageTexts().back(), "A record with that name already exists");

  // The last entry deleted: the one before it is shown.
  auto* list = control<QListWidget>(w, "ListBox1");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
  EXPECT_EQ(control<QLineEdit>(w, "Edit2")->text(), "5551000");
  click(w, "DelBtn");
  EXPECT_EQ(d.messageTexts().back(), "Are you sure you want to delete \"Quay\"?");
  EXPECT_EQ(listed(w), (QStringList{"Harbour", "Mill"}));
  EXPECT_EQ(control<QLineEdit>(w, "Edit1")->text(), "Mill");

  click(w, "OKBtn");
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(d.settings().PhoneIndex, 1u);
  EXPECT_EQ(d.settings().PhoneNumber, "5553000");
  d.main().applyPaintRules();
  EXPECT_EQ(d.text(&d.main(), "PhoneBox"), "Mill");
  EXPECT_EQ(d.home.read("Phone.ini"),
            "[Defaults]\r\n_Entries=2\r\n\r\n[Index]\r\nHarbour=#\r\nMill=#\r\n\r\n[Harbour]\r\nNumber=5552000\r\n\r\n"
            "[Mill]\r\nNumber=5553000\r\n");

  // Reopened on the saved position; Cancel changes nothing.
  d.settings().PhoneIndex = 5;
  d.trigger("EditPhoneList1");
  EXPECT_EQ(control<QLineEdit>(w, "Edit1")->text(), "Harbour");
  click(w, "CancelBtn");
  EXPECT_EQ(d.settings().PhoneNumber, "5553000");
}

TEST(PhoneBook, SiteModemListConfiguresTheModemThroughTCremote1) {
  Desktop d;
  d.settings().BaudRate = 9600;
  d.settings().PortNumber = 2;
  d.home.write("Remote.ini", "[Index]\nSite=#\n[Site]\nSetup=ATS0=1\n");
  d.trigger("ConfigureRemote1");
  QWidget* list = &d.desktop->remoteModemsWindow();
  EXPECT_EQ(control<QLineEdit>(list, "Edit2")->text(), "ATS0=1");
  type(list, "Edit2", "ATS0=2&W");
  click(list, "ConfigBtn");
  EXPECT_EQ(d.settings().RemoteModemInit, "ATS0=2&W");

  QWidget* remote = &d.desktop->remoteModemWindow();
  ASSERT_TRUE(remote->isVisible());
  EXPECT_EQ(remote->windowTitle(), "Configure Remote Modem");
  EXPECT_EQ(d.text(remote, "Edit2"), "9600");
  EXPECT_EQ(d.text(remote, "Edit1"), "Com2");
  EXPECT_EQ(control<QPushButton>(remote, "ConfigureBtn")->text(), QString::fromUtf8("Exécute"));
  EXPECT_EQ(control<QPushButton>(remote, "OKBtn")->text(), "Exit");
  EXPECT_EQ(control<QLabel>(remote, "Instruction4")->text(), "2. Click Proceed to initialize modem with setup string.");

  // The logger on the line is no modem: nothing answers the reset.
  click(remote, "ConfigureBtn");
  EXPECT_FALSE(remote->isEnabled());
  EXPECT_TRUE(d.session().exchangeRunning());
  ASSERT_TRUE(d.runUntilIdle(100));
  EXPECT_TRUE(remote->isEnabled());
  EXPECT_EQ(d.messageTexts().back(), "Invalid response from modem. ");
  EXPECT_EQ(d.session().lastOutcome()->kind, ExchangeKind::RemoteModemSetup);

  // A port that cannot be opened: the window comes back with the warning.
  d.port.setUnplugged(true);
  click(remote, "ConfigureBtn");
  EXPECT_FALSE(d.session().exchangeRunning());
  EXPECT_TRUE(remote->isEnabled());
  EXPECT_EQ(d.messageTexts().back(), "Impossible d'ouvrir le Port d\xE9sign\xE9 SVP v\xE9rifier");
  d.port.setUnplugged(false);

  // Back in the list, OK makes the entry the site modem of the settings.
  click(list, "OKBtn");
  EXPECT_EQ(d.settings().RemoteModemIndex, 0u);
  EXPECT_EQ(d.settings().RemoteModemInit, "ATS0=1");
}

TEST(PhoneBook, ComTestWindowRunsTheTestAndAsksBeforeEndingARealTimeGraph) {
  Desktop d;
  sim::LoopbackPlug plug(1200);
  d.port.attach(plug);
  d.main().show();
  d.trigger("ComTest1");
  QWidget* w = &d.desktop->comTestWindow();
  click(w, "ComTestBtn");
  EXPECT_FALSE(w->isEnabled());
  ASSERT_TRUE(d.runUntilIdle(100));
  EXPECT_TRUE(w->isEnabled());
  EXPECT_EQ(d.messageTexts(), std::vector<std::string>{"Com Test OK"});
  EXPECT_TRUE(d.main().isEnabled());
  click(w, "OKBtn");
  EXPECT_FALSE(w->isVisible());
}

TEST(PhoneBook, TheUtilitiesAskBeforeEndingARealTimeGraph) {
  for (const bool comTest : {true, false}) {
    Desktop d;
    d.main().show();
    d.trigger("RealTimeGraph1");
    for (int i = 0; i < 400 && !d.ctx().realTimeGraph; ++i) d.run(1);
    ASSERT_TRUE(d.ctx().realTimeGraph);
    const std::size_t before = d.prompter.messages.size();
    d.prompter.answers.push_back(Answer::Cancel);
    if (comTest) click(&d.desktop->comTestWindow(), "ComTestBtn");
    else click(&d.desktop->remoteModemWindow(), "ConfigureBtn");
    ASSERT_EQ(d.prompter.messages.size(), before + 1);
    EXPECT_EQ(d.prompter.messages.back().text,
              comTest ? "This action will terminate Real Time Graph" : "Cette action va arr\xE9ter le Graph tempsR\xE9" "el");
    EXPECT_EQ(d.prompter.messages.back().buttons, Buttons::OkCancel);
    EXPECT_TRUE(d.ctx().realTimeGraph);  // the graph goes on
    EXPECT_EQ(d.ctx().kind, ExchangeKind::RealTime);
    EXPECT_TRUE((comTest ? static_cast<QWidget*>(&d.desktop->comTestWindow())
                         : static_cast<QWidget*>(&d.desktop->remoteModemWindow()))
                    ->isEnabled());
  }
}

TEST(PhoneBook, ThePhoneBookChoosesTheNumberBeforeDialling) {
  struct Case {
    std::vector<std::string> args;
    std::string dialled;
    QString phoneBox;
  };
  const std::vector<Case> cases = {
      {{}, "5552000", "Mill"},                              // the saved position
      {{"x.qx1", "g", "0", "1"}, "5551000", "Harbour"},     // a short fourth argument: entry 1
      {{"x.qx1", "g", "0", "5559999"}, "5559999", "5559999"},  // a number given is dialled as it stands
  };
  for (const Case& c : cases) {
    Desktop d(c.args, "kaldo5-12bit", [](settings::LoggerSettings& s) {
      s.UseModem = 1;
      s.PhoneIndex = 1;
      s.PhoneNumber = "typed long ago";
    });
    d.home.write("Phone.ini", "[Index]\nHarbour=#\nMill=#\n[Harbour]\nNumber=5551000\n[Mill]\nNumber=5552000\n");
    d.main().show();
    d.trigger("Status1");
    d.run(30);
    EXPECT_EQ(d.settings().PhoneNumber, c.dialled);
    d.main().applyPaintRules();
    EXPECT_EQ(d.text(&d.main(), "PhoneBox"), c.phoneBox);
    ASSERT_TRUE(d.runUntilIdle(2000));
  }
}

}  // namespace
}  // namespace brevik::testing
