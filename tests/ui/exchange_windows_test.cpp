// The status form after a status exchange, the real-time display, the
// Settings dialog, and the unattended runs, against the virtual logger.

#include <QCheckBox>
#include <QMenu>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "desktop_fixture.h"
#include "protocol/status_texts.h"
#include "ui/desktop_view.h"
#include "ui/help_window.h"
#include "ui/text.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;

TEST(StatusForm, ShowsEveryTextOfTheStatusAfterAnExchange) {
  Desktop d;
  d.trigger("Status1");
  EXPECT_TRUE(d.desktop->commStatus().isVisible());
  ASSERT_TRUE(d.runUntilIdle());
  EXPECT_TRUE(d.prompter.messages.empty()) << (d.messageTexts().empty() ? "" : d.messageTexts()[0]);
  ui::TStatus& form = d.desktop->statusForm();
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(d.desktop->commStatus().isVisible());
  EXPECT_EQ(form.windowTitle(), "Status");
  EXPECT_TRUE(form.findChild<QWidget*>("ClockBox")->isVisible());
  ASSERT_TRUE(d.session().lastStatus().has_value());
  const protocol::StatusForm expected =
      protocol::buildStatusForm(*d.session().lastStatus(), protocol::StatusTextSettings{true});
  int checked = 0;
  for (const protocol::StatusComponent& c : expected.components) {
    auto* box = form.findChild<QLineEdit*>(QString::fromStdString(c.name));
    if (box == nullptr) continue;
    EXPECT_EQ(box->text(), ui::fromCp(c.text)) << c.name;
    ++checked;
  }
  EXPECT_GE(checked, 30);
  EXPECT_EQ(d.text(&form, "IdStatBox"), "KALDO 5 fast");
  EXPECT_EQ(d.text(&form, "onoff1box"), "ON");
  EXPECT_TRUE(d.session().statusAvailable());
  // Shown again from the menu, without a message.
  form.hide();
  d.trigger("Showlaststatus1");
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(d.prompter.messages.empty());
}

TEST(RealTimeDisplay, ReadingsRefreshTheValueBoxesUntilOk) {
  Desktop d;
  d.trigger("RealTimeDisplay1");
  d.run(60);
  ui::TStatus& form = d.desktop->statusForm();
  ASSERT_TRUE(form.isVisible());
  EXPECT_EQ(form.windowTitle(), "Real Time Display");
  EXPECT_FALSE(form.findChild<QWidget*>("ClockBox")->isVisible());
  EXPECT_FALSE(form.findChild<QWidget*>("clockBoxLabel")->isVisible());
  EXPECT_EQ(d.ctx().kind, ExchangeKind::RealTime);
  std::vector<QString> seen;
  for (int i = 0; i < 12; ++i) {
    d.run(10);
    const QString v = d.text(&form, "Value1Box");
    if (seen.empty() || seen.back() != v) seen.push_back(v);
  }
  EXPECT_GE(seen.size(), 2u) << "the readings never changed";
  for (const QString& v : seen) EXPECT_TRUE(v.contains("Deg")) << v.toStdString();

  // A reading that fails its checksum shows in all four boxes.
  d.desktop->view().setReadingError("Checksum error");
  EXPECT_EQ(d.text(&form, "Value4Box"), "Checksum error");

  // Revision q asks for each reading: OK ends the exchange and closes the form.
  form.findChild<QPushButton*>("OKButton")->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(d.ctx().kind, ExchangeKind::None);
  EXPECT_FALSE(d.port.isOpen());
}

TEST(RealTimeDisplay, OlderLoggersAreStoppedByAWakeUp) {
  // Revision 'o' streams its readings unasked once told "Z".
  TempDir profiles;
  auto text = files::readAll(dataDir() / "sim" / "normal-9600.logger");
  ASSERT_TRUE(text.ok());
  std::string profile = *text;
  profile.replace(profile.find("revision = q"), 12, "revision = o");
  const auto path = profiles.write("rev-o.logger", profile);
  Desktop d({}, path.string(), [](settings::LoggerSettings& s) {
    s.BaudRate = 9600;
    s.FastProtocol = 0;
  });
  d.trigger("RealTimeDisplay1");
  d.run(200);
  ui::TStatus& form = d.desktop->statusForm();
  ASSERT_EQ(d.ctx().kind, ExchangeKind::RealTime) << (d.messageTexts().empty() ? "" : d.messageTexts()[0]);
  ASSERT_TRUE(d.session().lastStatus().has_value());
  ASSERT_EQ(d.session().lastStatus()->revision, 'o');
  d.run(60);
  EXPECT_TRUE(d.text(&form, "Value1Box").contains("Deg"));
  form.findChild<QPushButton*>("OKButton")->click();
  EXPECT_TRUE(form.isVisible());  // waits for the end of the stream
  EXPECT_EQ(d.ctx().kind, ExchangeKind::EndRealTime);
  // The display's exchange is over, the one that stops the stream runs.
  ASSERT_TRUE(d.session().lastOutcome().has_value());
  EXPECT_EQ(d.session().lastOutcome()->kind, ExchangeKind::RealTime);
  EXPECT_TRUE(d.session().lastOutcome()->succeeded);
  EXPECT_FALSE(d.main().isEnabled());
  ASSERT_TRUE(d.runUntilIdle());
  EXPECT_EQ(d.messageTexts(), std::vector<std::string>{"Real Time Link terminated"});
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(d.session().lastOutcome()->kind, ExchangeKind::EndRealTime);
  EXPECT_TRUE(d.main().isEnabled());
}

// ---------------------------------------------------------------------------

struct SettingsHarness {
  Desktop d;
  ui::TSettings2& dlg() { return d.desktop->settingsDialog(); }
  template <typename T>
  T* child(const char* name) { return dlg().findChild<T*>(name); }
  void clickOk() { child<QPushButton>("OKBtn")->click(); }
  SettingsHarness() { dlg().showFields(); }
};

TEST(SettingsDialog, ModemWithoutNetworkIsRefusedAndNothingStored) {
  SettingsHarness h;
  h.child<QRadioButton>("PortGroup_2")->setChecked(true);
  h.child<QCheckBox>("CB_modem")->setChecked(true);
  h.clickOk();
  EXPECT_EQ(h.d.messageTexts(), std::vector<std::string>{std::string(settings::kModemNeedsNetworkText)});
  EXPECT_EQ(h.d.settings().PortNumber, 1u);
  EXPECT_EQ(h.d.settings().UseModem, 0);
}

TEST(SettingsDialog, SlowProtocolAboveNineteenTwoIsRefusedAfterStoringStepTwo) {
  SettingsHarness h;  // stored rate 57600: no BaudGroup item is checked
  EXPECT_EQ(h.child<QRadioButton>("BaudGroup_4")->isChecked(), false);
  h.child<QRadioButton>("PortGroup_1")->setChecked(true);
  h.child<QCheckBox>("CB_MT7xx")->setChecked(false);
  h.child<QRadioButton>("TimeFormat_0")->setChecked(true);
  h.clickOk();
  EXPECT_EQ(h.d.messageTexts(), std::vector<std::string>{std::string(settings::kBaudNeedsFastProtocolText)});
  EXPECT_EQ(h.d.settings().PortNumber, 2u);        // step 2 stored
  EXPECT_EQ(h.d.settings().FastProtocol, 0);
  EXPECT_EQ(h.d.settings().BaudRate, 57600u);
  EXPECT_EQ(h.d.settings().TwelveHourClock, 1);    // step 7 not reached
}

TEST(SettingsDialog, OkStoresTheControlsAndTheMainWindowFollows) {
  SettingsHarness h;
  h.child<QRadioButton>("BaudGroup_3")->setChecked(true);
  h.child<QRadioButton>("RG_Network_1")->setChecked(true);
  h.child<QCheckBox>("CB_modem")->setChecked(true);
  h.child<QCheckBox>("AutoAnswerCheckBox")->setChecked(true);
  h.child<QRadioButton>("TimeFormat_0")->setChecked(true);
  h.clickOk();
  EXPECT_TRUE(h.d.prompter.messages.empty());
  EXPECT_EQ(h.d.settings().BaudRate, 9600u);
  EXPECT_EQ(h.d.settings().NetworkMode, 1);
  EXPECT_EQ(h.d.settings().UseModem, 1);
  EXPECT_EQ(h.d.settings().AutoAnswer, 1);
  EXPECT_EQ(h.d.settings().TwelveHourClock, 0);
  EXPECT_FALSE(h.d.main().findChild<QMenu*>("Send")->menuAction()->isEnabled());  // auto-answer entered
}

TEST(SettingsDialog, TwoControlsWriteAtOnceAndCancelKeepsThem) {
  SettingsHarness h;
  h.dlg().show();
  QTest::mouseClick(h.child<QCheckBox>("AutocsvCheckBox"), Qt::LeftButton);
  QTest::mouseClick(h.child<QRadioButton>("ExpDateFormatRG_1"), Qt::LeftButton);
  EXPECT_EQ(h.d.settings().AutoExport, 1);
  EXPECT_EQ(h.d.settings().ExportDayFirst, 1);
  h.child<QCheckBox>("CB_MT7xx")->setChecked(false);
  h.child<QPushButton>("CancelBtn")->click();
  EXPECT_EQ(h.d.settings().AutoExport, 1);
  EXPECT_EQ(h.d.settings().ExportDayFirst, 1);
  EXPECT_EQ(h.d.settings().FastProtocol, 1);
}

TEST(SettingsDialog, ShowsWhichDeviceEachComPortIsWhenItShows) {
  SettingsHarness h;
  const std::string gone = (h.d.home / "ttyUSB7").string();
  h.d.home.write("ports.ini", "COM1=sim:kaldo5-12bit\nCOM2=" + gone + "\n");
  h.dlg().show();  // adapters come and go: looked up again at each showing
  auto* label = h.child<QLabel>("PortDeviceLabel");
  EXPECT_EQ(label->text(), "COM1: sim:kaldo5-12bit - the built-in virtual logger");
  EXPECT_EQ(h.child<QRadioButton>("PortGroup_1")->toolTip(), QString::fromStdString(gone + " - not there"));
  QTest::mouseClick(h.child<QRadioButton>("PortGroup_1"), Qt::LeftButton);
  EXPECT_EQ(label->text(), QString::fromStdString("COM2: " + gone + " - not there"));
  h.dlg().hide();
}

TEST(SettingsDialog, AutoAnswerShowsOnlyWithTheModem) {
  SettingsHarness h;
  h.dlg().show();
  EXPECT_FALSE(h.child<QCheckBox>("AutoAnswerCheckBox")->isVisible());
  QTest::mouseClick(h.child<QCheckBox>("CB_modem"), Qt::LeftButton);
  EXPECT_TRUE(h.child<QCheckBox>("AutoAnswerCheckBox")->isVisible());
  h.dlg().hide();
}

// ---------------------------------------------------------------------------
// Unattended runs: a log line, no window, the program ends.

struct UnattendedRun {
  std::vector<std::string> args;
  std::string logStart;
};

TEST(UnattendedRuns, EndWithTheirLogLineAndNoWindow) {
  const UnattendedRun runs[] = {
      {{"site.txt", "s"}, "Invalid command line; no .set file type "},
      {{"site.dat", "r"}, "Invalid file name extension "},
      {{"site.set", "s", "0", "0"}, "Impossible d'envoi  ; site.set not found "},
      {{"site.qx1", "r", "0", "0"}, std::string("Transfert terminé: site.qx1 "_cp)},
      {{"out.csv", "r", "0", "0"}, "Data written to out.csv "},
      {{"x", "h"}, "session finished, modem on hook "},
  };
  for (const UnattendedRun& r : runs) {
    Desktop d(r.args);
    d.desktop->start();
    bool windowSeen = d.desktop->anyWindowVisible();
    for (int i = 0; i < 400 && d.quits == 0; ++i) {
      d.run(1);
      windowSeen = windowSeen || d.desktop->anyWindowVisible();
    }
    EXPECT_EQ(d.quits, 1) << r.args[0];
    EXPECT_FALSE(windowSeen) << r.args[0];
    const std::string log = d.log();
    EXPECT_EQ(log.rfind(r.logStart, 0), 0u) << r.args[0] << ": " << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_TRUE(d.prompter.messages.empty()) << r.args[0];
  }
}

TEST(UnattendedRuns, CsvLineHoldsTheValuesOfTheChannelsThatAreOn) {
  Desktop d({"out.csv", "r", "0", "0"});
  d.desktop->start();
  for (int i = 0; i < 400 && d.quits == 0; ++i) d.run(1);
  auto csv = files::readAll(d.home / "out.csv");
  ASSERT_TRUE(csv.ok());
  EXPECT_EQ(std::count(csv->begin(), csv->end(), ','), 4) << *csv;
  EXPECT_EQ(csv->substr(csv->size() - 2), "\r\n");
  EXPECT_FALSE(d.desktop->program().quitRequest()->saveSettings);
}

// ---------------------------------------------------------------------------

TEST(CommStatus, ShowsTheExchangeAndAbortCallsTheEngine) {
  Desktop d;
  ui::TCommStatus& comm = d.desktop->commStatus();
  EXPECT_EQ(comm.windowTitle(), QString::fromUtf8("LiaisonSéri"));
  EXPECT_EQ(comm.findChild<QLabel*>("Label1")->text(), "Etat  :");
  d.trigger("Status1");
  d.run(4);
  EXPECT_TRUE(comm.isVisible());
  EXPECT_TRUE(d.text(&comm, "StatusBox").startsWith("Send: >C")) << d.text(&comm, "StatusBox").toStdString();
  link::ExchangeDisplay download;
  download.kind = link::ExchangeKind::Receive;
  download.blockCountShown = true;
  download.dataFileName = "site.qx1";
  d.desktop->view().exchangeStarted(download);
  d.desktop->view().blockCount(17);
  d.desktop->view().abortAvailable(true);
  EXPECT_EQ(d.text(&comm, "BlockCountField"), "17");
  EXPECT_EQ(comm.findChild<QLabel*>("udaFile")->text(), "site.qx1");
  auto* abort = comm.findChild<QPushButton*>("AbortBtn");
  ASSERT_TRUE(abort->isVisible());
  abort->click();
  EXPECT_NE(std::find(d.trace.lines.begin(), d.trace.lines.end(), "[4] * abort"), d.trace.lines.end());
  ASSERT_TRUE(d.runUntilIdle());
  EXPECT_FALSE(comm.isVisible());
}

TEST(Help, EveryTopicTheProgramUsesHasAPage) {
  for (int topic : {2, 3, 4, 9, 10, 24, 26, 27, 28, 29}) {
    const auto page = dataDir() / "help" / ui::HelpWindow::topicPageName(topic).toStdString();
    auto content = files::readAll(page);
    ASSERT_TRUE(content.ok()) << page;
    EXPECT_NE(content->find("<h1>"), std::string::npos) << page;
  }
  Desktop d;
  d.trigger("Contents1");
  EXPECT_TRUE(d.desktop->helpWindow().isVisible());
  EXPECT_EQ(d.desktop->helpWindow().currentPage(), "contents.html");
  d.desktop->helpWindow().showTopic(24);
  EXPECT_EQ(d.desktop->helpWindow().currentPage(), "topic-24.html");
}

TEST(Screenshots, WritesTheWindowsForReview) {
  Desktop d({}, "kaldo5-12bit", [](settings::LoggerSettings& s) { s.NetworkMode = 1; });
  d.main().show();
  d.main().applyPaintRules();
  d.trigger("Status1");
  d.run(3);
  const QString dir = QString(BREVIK_TEST_TMP) + "/../screenshots";
  QDir().mkpath(dir);
  EXPECT_TRUE(d.desktop->commStatus().grab().save(dir + "/comm_status.png"));
  ASSERT_TRUE(d.runUntilIdle());
  EXPECT_TRUE(d.main().grab().save(dir + "/main.png"));
  EXPECT_TRUE(d.desktop->statusForm().grab().save(dir + "/status.png"));
  d.desktop->settingsDialog().showFields();
  EXPECT_TRUE(d.desktop->settingsDialog().grab().save(dir + "/settings.png"));
}

}  // namespace
}  // namespace brevik::testing
