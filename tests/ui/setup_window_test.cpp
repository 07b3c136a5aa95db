// The setup window over the program's one setup form: what it shows of a
// record and gives back, its two modes, Exit, Load, Save As, Load status,
// the dialogs of its boxes and the send against the virtual logger.

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <algorithm>

#include "desktop_fixture.h"
#include "setup/setup_file.h"
#include "ui/desktop_view.h"
#include "ui/file_paths.h"
#include "ui/t_setup.h"
#include "ui/text.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;

ui::TSetup& window(Desktop& d) { return d.desktop->setupWindow(); }

template <typename W>
W* control(Desktop& d, const QString& name) {
  auto* w = window(d).findChild<W*>(name);
  if (w == nullptr) throw std::runtime_error("no control " + name.toStdString());
  return w;
}

QString boxText(Desktop& d, const QString& name) { return control<QComboBox>(d, name)->currentText(); }
QString labelText(Desktop& d, const char* name) { return control<QLabel>(d, name)->text(); }
void click(Desktop& d, const char* name) { control<QPushButton>(d, name)->click(); }

setup::LoggerConfiguration defaultRecord() {
  auto record = setup::readSetupFile(dataDir() / "default.set");
  if (!record) throw std::runtime_error(record.error().message);
  return *record;
}

std::filesystem::path writeRecord(Desktop& d, const std::string& name, const setup::LoggerConfiguration& record) {
  const auto path = d.home / name;
  if (auto written = setup::writeSetupFile(path, record); !written) throw std::runtime_error(written.error().message);
  return path;
}

// Opens the window with the main window's Setup command.
void openSetup(Desktop& d, const char* action = "MMSetup") {
  d.trigger(action);
  ASSERT_TRUE(window(d).isVisible()) << action;
}

// Loads a file through LoadBtn's dialog.
void loadThroughDialog(Desktop& d, const std::filesystem::path& path) {
  d.files.answers.push_back(ui::qPathOf(path));
  click(d, "LoadBtn");
}

// ---------------------------------------------------------------------------

TEST(SetupWindow, RecordIsShownAndSavedBackUnchanged) {
  struct Channel {
    char code;
    const char* text;  // ScaleText or TableName
    const char* shown;
  };
  struct Row {
    std::array<Channel, 4> channels;
    char rate;
    const char* rateShown;
    std::uint8_t mode;
    const char* stopShown;
    std::uint16_t inputs;
    std::array<const char*, 4> inputsShown;
  };
  const Row rows[] = {
      {{{{'3', "-10.0050.000", "Linear: -10.00 / 50.000"},
         {'X', "1.00000.0000", "Fer/ouv: 1.0000 / 0.0000"},
         {'k', "", "K Type & Mvt-50u"},
         {'1', "MYTAB", "Table: (MYTAB.rvt)"}}},
       'G', "1 minute", 1, "en continu (FIFO tournant)", 0, {"Standard", "Standard", "Standard", "Standard"}},
      {{{{'1', "SOIL", "Table: (SOIL.rvt)"},
         {'3', "0.0000100.00", "Linear: 0.0000 / 100.00"},
         {'Y', "", "B Type & Mvt-22b"},
         {'X', "0.00001.0000", "Fer/ouv: 0.0000 / 1.0000"}}},
       'R', "12Heures", 0, "à la fin de mémoire ", 1 + 8 * 2 + 64 * 5 + 512 * 4,
       {"Temp/RH", "Moyenne", "0.1s Excit", "Pulse"}},
  };
  for (const Row& r : rows) {
    Desktop d;
    setup::LoggerConfiguration record = defaultRecord();
    for (int ch = 1; ch <= 4; ++ch) {
      const Channel& c = r.channels[static_cast<std::size_t>(ch - 1)];
      record.setScaleCode(ch, c.code);
      if (c.code == '1') record.setTableName(ch, c.text);
      if (c.code == '3' || c.code == 'X') record.setScaleText(ch, c.text);
      record.setChannelDescription(ch, "Probe " + std::to_string(ch) + std::string(17, ' '));
    }
    record.setChannelOn(2, false);
    record.setRateCode(r.rate);
    record.setModeByte(r.mode);
    record.setInputModes(r.inputs);
    record.setSessionDescription("North field" + std::string(20, ' '));
    record.setResolution(2);
    const auto path = writeRecord(d, "site.set", record);

    openSetup(d);
    loadThroughDialog(d, path);
    EXPECT_TRUE(d.prompter.messages.empty());
    EXPECT_EQ(labelText(d, "FileNameLabel"), "site.set");
    EXPECT_FALSE(control<QLabel>(d, "ModifiedLabel")->isVisible());
    EXPECT_EQ(d.text(&window(d), "IDedit"), "North field");
    for (int ch = 1; ch <= 4; ++ch) {
      const auto i = static_cast<std::size_t>(ch - 1);
      EXPECT_EQ(boxText(d, QString("ScalingBox%1").arg(ch)).toStdString(), r.channels[i].shown) << ch;
      EXPECT_EQ(boxText(d, QString("InpBox%1").arg(ch)).toStdString(), r.inputsShown[i]) << ch;
      EXPECT_EQ(d.text(&window(d), QString("Ch%1Edit").arg(ch).toLatin1().constData()),
                QString("Probe %1").arg(ch));
      EXPECT_EQ(control<QPushButton>(d, QString("onoffbtn%1").arg(ch))->text(), ch == 2 ? "OFF" : "ON");
    }
    EXPECT_EQ(boxText(d, "RateBox"), r.rateShown);
    EXPECT_EQ(boxText(d, "RunBox"), QString::fromUtf8(r.stopShown));
    EXPECT_EQ(boxText(d, "ResBox"), "10 bit <Med>");

    // Saved back without an edit: every byte as loaded.
    d.files.answers.push_back(ui::qPathOf(d.home / "copy.set"));
    click(d, "SaveBtn");
    const auto reread = setup::readSetupFile(d.home / "copy.set");
    ASSERT_TRUE(reread.ok());
    EXPECT_EQ(*reread, record);
    EXPECT_EQ(labelText(d, "FileNameLabel"), "copy.set");
  }
}

TEST(SetupWindow, StartupLoadsTheCurrentSetupFileOrTellsOfTheDefault) {
  for (const auto& [stored, told] : {std::pair{"default.set", false}, std::pair{"gone.set", true}}) {
    Desktop d({}, "kaldo5-12bit", [stored = stored](settings::LoggerSettings& s) { s.SetupFileName = stored; });
    if (told) {
      ASSERT_EQ(d.prompter.messages.size(), 1u);
      EXPECT_EQ(d.prompter.messages[0].text, "Setup File: gone.set not found; loading default.");
      EXPECT_EQ(d.prompter.messages[0].kind, MessageKind::Information);
    } else {
      EXPECT_TRUE(d.prompter.messages.empty());
    }
    EXPECT_EQ(d.settings().SetupFileName, "default.set");
    EXPECT_EQ(labelText(d, "FileNameLabel"), "default.set");
    // The seeded default.set, or the built-in default written in its place.
    const setup::LoggerConfiguration expected =
        told ? setup::LoggerConfiguration::builtInDefault(d.clock) : defaultRecord();
    EXPECT_EQ(d.desktop->program().setup().current, expected);
  }
}

TEST(SetupWindow, CaptionModeStationAndPhoneFollowTheCommandAndSettings) {
  const char* const modeControls[] = {"onoffbtn1", "onoffbtn2", "onoffbtn3", "onoffbtn4", "InpBox1", "InpBox2",
                                      "InpBox3",   "InpBox4",   "StartBox",  "RunBox",    "RateBox", "ResBox"};
  const char* const alwaysEditable[] = {"IDedit", "Ch1Edit", "Ch4Edit", "ScalingBox1", "ScalingBox3"};
  struct Row {
    const char* action;
    bool labelsOnly;
    const char* caption;
    int helpTopic;
    bool network;
    bool modem;
  };
  const Row rows[] = {
      {"MMSetup", false, "       KALDO  Setup", 3, false, false},
      {"OpenSetup1", false, "       KALDO  Setup", 3, true, true},
      {"ChangeScaling1", true, "Change Scaling and/or Labels", 4, true, false},
  };
  for (const Row& r : rows) {
    Desktop d({}, "kaldo5-12bit", [&r](settings::LoggerSettings& s) {
      s.NetworkMode = r.network ? 1 : 0;
      s.UseModem = r.modem ? 1 : 0;
      s.StationAddress = 12;
      s.PhoneNumber = "5551234";
    });
    openSetup(d, r.action);
    EXPECT_EQ(window(d).windowTitle(), r.caption);
    EXPECT_TRUE(window(d).windowState().testFlag(Qt::WindowMaximized));
    EXPECT_FALSE(d.main().isEnabled()) << r.action;
    for (const char* name : modeControls)
      EXPECT_EQ(window(d).findChild<QWidget*>(name)->isEnabled(), !r.labelsOnly) << r.action << " " << name;
    for (const char* name : alwaysEditable) EXPECT_TRUE(window(d).findChild<QWidget*>(name)->isEnabled()) << name;

    auto* station = control<QSpinBox>(d, "NetFieldSetup");
    EXPECT_EQ(station->isVisible(), r.network) << r.action;
    EXPECT_EQ(control<QLineEdit>(d, "PhoneBox")->isVisible(), r.modem) << r.action;
    if (r.modem) {
      EXPECT_EQ(d.text(&window(d), "PhoneBox"), "5551234");
    }
    if (r.network) {
      EXPECT_EQ(station->value(), 12);
      station->setValue(40);
      EXPECT_EQ(d.settings().StationAddress, 40);
    }

    std::vector<int> topics;
    window(d).setHelpAction([&topics](int topic) { topics.push_back(topic); });
    click(d, "HelpButton");
    EXPECT_EQ(topics, std::vector<int>{r.helpTopic}) << r.action;
  }
}

TEST(SetupWindow, ExitAsksToSaveChangesAndClosingGivesBackTheMainWindow) {
  struct Row {
    bool edit;
    std::optional<Answer> answer;  // to "Save changes?"
    bool stillOpen;
    bool modifiedAfter;
    bool fileWritten;
    bool channelOffAfter;  // the record's channel 1 after Exit
  };
  const Row rows[] = {
      {false, std::nullopt, false, false, false, false},
      {true, Answer::Yes, true, false, true, true},
      {true, Answer::No, false, false, false, false},
      {true, Answer::Cancel, true, true, false, false},
  };
  for (const Row& r : rows) {
    Desktop d;
    openSetup(d);
    if (r.edit) {
      click(d, "onoffbtn1");
      EXPECT_EQ(control<QPushButton>(d, "onoffbtn1")->text(), "OFF");
      EXPECT_TRUE(control<QLabel>(d, "ModifiedLabel")->isVisible());
      EXPECT_EQ(labelText(d, "TTimeLabelBox"), QString::fromStdString(d.desktop->program().setup().form.durationText));
    }
    if (r.answer) d.prompter.answers.push_back(*r.answer);
    d.files.answers.push_back(ui::qPathOf(d.home / "kept.set"));
    click(d, "ExitBtn");
    if (r.answer) {
      ASSERT_EQ(d.prompter.messages.size(), 1u);
      EXPECT_EQ(d.prompter.messages[0].text, "Save changes?");
      EXPECT_EQ(d.prompter.messages[0].buttons, Buttons::YesNoCancel);
    } else {
      EXPECT_TRUE(d.prompter.messages.empty());
    }
    const setup::SetupDocument& doc = d.desktop->program().setup();
    EXPECT_EQ(window(d).isVisible(), r.stillOpen);
    EXPECT_EQ(d.main().isEnabled(), !r.stillOpen);
    EXPECT_EQ(doc.form.modified(), r.modifiedAfter);
    EXPECT_EQ(std::filesystem::exists(d.home / "kept.set"), r.fileWritten);
    EXPECT_EQ(!doc.current.channelOn(1), r.channelOffAfter);
    if (r.fileWritten) {
      EXPECT_EQ(labelText(d, "FileNameLabel"), "kept.set");
    }
  }
}

TEST(SetupWindow, TitleBarCloseAsksAsExitDoes) {
  for (const auto& [answer, closes] : {std::pair{Answer::Cancel, false}, std::pair{Answer::No, true}}) {
    Desktop d;
    openSetup(d);
    click(d, "onoffbtn3");
    d.prompter.answers.push_back(answer);
    window(d).close();
    ASSERT_EQ(d.prompter.messages.size(), 1u);
    EXPECT_EQ(d.prompter.messages[0].text, "Save changes?");
    EXPECT_EQ(window(d).isVisible(), !closes);
    EXPECT_EQ(d.main().isEnabled(), closes);
    EXPECT_TRUE(d.desktop->program().setup().current.channelOn(3));
  }
}

TEST(SetupWindow, TabGoesDownTheFormThenToTheButtons) {
  Desktop d;
  openSetup(d);
  const std::vector<QString> expected{"IDedit",   "onoffbtn1", "ScalingBox1", "InpBox1",     "Ch1Edit",   "onoffbtn4",
                                      "Ch4Edit",  "StartBox",  "RunBox",      "RateBox",     "ResBox",    "ModelBox",
                                      "LoadBtn",  "LoadStatBtn", "SaveBtn",   "SENDBtn",     "ExitBtn",   "HelpButton"};
  std::vector<QString> seen;
  QWidget* w = control<QLineEdit>(d, "IDedit");
  for (int i = 0; i < 200 && seen.size() < expected.size(); ++i, w = w->nextInFocusChain()) {
    const QString name = w->objectName();
    if (std::find(expected.begin(), expected.end(), name) != expected.end() &&
        std::find(seen.begin(), seen.end(), name) == seen.end())
      seen.push_back(name);
  }
  EXPECT_EQ(seen, expected);
}

TEST(SetupWindow, LoadAndSaveAsFollowTheSetRuleAndReportErrors) {
  struct Row {
    const char* button;
    const char* answer;  // file in the home; "" cancels
    std::string message;
    MessageKind kind;
    const char* labelAfter;
  };
  const Row rows[] = {
      {"LoadBtn", "other.set", "", MessageKind::Information, "other.set"},
      {"LoadBtn", "short.set", "File I/O error: short.set", MessageKind::Error, "default.set"},
      {"LoadBtn", "broken.qx1", "File corrupt or invalid", MessageKind::Error, "default.set"},
      {"LoadBtn", "site.qx1", "", MessageKind::Information, "site.qx1"},
      {"LoadBtn", "", "", MessageKind::Information, "default.set"},
      {"SaveBtn", "site.txt", "File not saved; file name must end in '.SET'", MessageKind::Warning, "default.set"},
      {"SaveBtn", "new.SET", "", MessageKind::Information, "new.SET"},
      {"SaveBtn", "", "", MessageKind::Information, "default.set"},
  };
  for (const Row& r : rows) {
    Desktop d;
    setup::LoggerConfiguration other = defaultRecord();
    other.setRateCode('M');
    writeRecord(d, "other.set", other);
    ASSERT_TRUE(files::writeFileAtomically(d.home / "short.set", std::string(100, 'x')).ok());
    ASSERT_TRUE(files::writeFileAtomically(d.home / "broken.qx1", "A\r\ntoo short\r\n").ok());
    // A data file header with one type code per channel and no scale lines.
    ASSERT_TRUE(files::writeFileAtomically(d.home / "site.qx1",
                                           "AB3C\r\nTue 24-Jun-2003 10:01\r\nTue 24-Jun-2003 11:01\r\n"
                                           "Recorded session               \r\ntransfer\r\n"
                                           "Probe A                 \r\nProbe B                 \r\n"
                                           "Probe C                 \r\nProbe D                 \r\n"
                                           "1\r\n73\r\n11\r\n2048 1\r\n0102030405\r\n")
                    .ok());
    openSetup(d);
    click(d, "onoffbtn4");  // an edit that a refused save keeps
    d.files.answers.push_back(*r.answer == '\0' ? QString() : ui::qPathOf(d.home / r.answer));
    click(d, r.button);

    ASSERT_EQ(d.files.requests.size(), 1u) << r.answer;
    const ui::FileDialogRequest& q = d.files.requests[0];
    const bool save = std::string_view(r.button) == "SaveBtn";
    EXPECT_EQ(q.objectName, save ? "SaveSetupDialog" : "OpenDialogSetup");
    EXPECT_EQ(q.title, save ? "Save Setup As" : "Select Setup");
    EXPECT_EQ(q.filter, save ? ui::qtFilterOf("Data Logger Setup|*.set")
                             : ui::qtFilterOf("Data Logger Setup|*.set|Data Logger Data|*.qx1"));
    EXPECT_EQ(q.defaultSuffix, "SET");
    EXPECT_EQ(q.save, save);
    EXPECT_EQ(ui::pathOf(q.directory), d.home.path());

    if (r.message.empty()) {
      EXPECT_TRUE(d.prompter.messages.empty()) << r.answer;
    } else {
      ASSERT_EQ(d.prompter.messages.size(), 1u) << r.answer;
      // A file the dialog chose is named as the dialog gave it, with its directory.
      const std::string expected = r.message.starts_with("File I/O error: ")
                                       ? "File I/O error: " + ui::toCp(ui::qPathOf(d.home / r.answer)) +
                                             " (it holds 100 of 781 bytes)"
                                       : r.message;
      EXPECT_EQ(d.prompter.messages[0].text, expected);
      EXPECT_EQ(d.prompter.messages[0].kind, r.kind);
    }
    EXPECT_EQ(labelText(d, "FileNameLabel"), r.labelAfter) << r.answer;
    // A setup file that became the current one is named with its directory;
    // a data file's header never becomes the current setup file.
    const std::string stored = d.settings().SetupFileName;
    const std::string_view label = r.labelAfter;
    if (label == "default.set" || label.ends_with(".qx1")) {
      EXPECT_EQ(stored, "default.set");
    } else {
      EXPECT_EQ(stored, ui::toCp(ui::qPathOf(d.home / r.labelAfter)));
    }
    if (label == "site.qx1") {
      EXPECT_EQ(d.text(&window(d), "IDedit"), "Recorded session");
      EXPECT_EQ(d.text(&window(d), "Ch2Edit"), "Probe B");
      EXPECT_EQ(boxText(d, "ScalingBox1"), QString("Thermistor \"A\"  (A.rvt)"));
      EXPECT_EQ(boxText(d, "RateBox"), "5 minutes");  // rate code 73, 'I'
      EXPECT_EQ(boxText(d, "RunBox"), "en continu (FIFO tournant)");
    }
    if (std::string_view(r.answer) == "other.set") {
      EXPECT_EQ(boxText(d, "RateBox"), "1Heure");
    }
    if (std::string_view(r.answer) == "site.txt") {
      EXPECT_FALSE(std::filesystem::exists(d.home / "site.txt"));
      EXPECT_TRUE(control<QLabel>(d, "ModifiedLabel")->isVisible());
    }
    if (std::string_view(r.answer) == "new.SET") {
      EXPECT_TRUE(std::filesystem::exists(d.home / "new.SET"));
      EXPECT_FALSE(control<QLabel>(d, "ModifiedLabel")->isVisible());
    }
  }
}

TEST(SetupWindow, ClickOnTheFileNameLoadsAsLoadBtnDoes) {
  Desktop d;
  setup::LoggerConfiguration other = defaultRecord();
  other.setRateCode('F');
  const auto path = writeRecord(d, "other.set", other);
  openSetup(d);
  d.files.answers.push_back(ui::qPathOf(path));
  QLabel* name = control<QLabel>(d, "FileNameLabel");
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), name->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(name, &release);
  EXPECT_EQ(name->text(), "other.set");
  EXPECT_EQ(boxText(d, "RateBox"), "30 secs");
}

TEST(SetupWindow, LoadStatusNeedsAStatusOfThisRun) {
  for (const bool statusFirst : {false, true}) {
    Desktop d;
    if (statusFirst) {
      d.trigger("Status1");
      ASSERT_TRUE(d.runUntilIdle());
      d.prompter.messages.clear();
      d.desktop->statusForm().hide();
    }
    openSetup(d);
    click(d, "LoadStatBtn");
    if (!statusFirst) {
      ASSERT_EQ(d.prompter.messages.size(), 1u);
      EXPECT_EQ(d.prompter.messages[0].text, "No Status to load; Exit and select Receive/Status");
      EXPECT_EQ(labelText(d, "FileNameLabel"), "default.set");
      continue;
    }
    EXPECT_TRUE(d.prompter.messages.empty());
    // The virtual logger's own set-up.
    EXPECT_EQ(labelText(d, "FileNameLabel"), "LAST STATUS");
    EXPECT_EQ(d.text(&window(d), "IDedit"), "KALDO 5 fast");
    EXPECT_EQ(d.text(&window(d), "Ch1Edit"), "Thermistance A");
    EXPECT_EQ(d.text(&window(d), "Ch4Edit"), "Tension");
    EXPECT_EQ(boxText(d, "ScalingBox2"), QString("Thermistor \"B\"  (B.rvt)"));
    EXPECT_EQ(boxText(d, "ScalingBox4"), "Linear:  -10.0 /   50.0");
    EXPECT_EQ(boxText(d, "ModelBox"), "KALDO");
    EXPECT_EQ(boxText(d, "ResBox"), "12 bit <High>");
    // Opened again, the window fills itself from the status once more.
    click(d, "ExitBtn");
    ASSERT_FALSE(window(d).isVisible());
    openSetup(d);
    EXPECT_EQ(labelText(d, "FileNameLabel"), "LAST STATUS");
  }
}

TEST(SetupWindow, ScalingAndStartBoxesAskTheirDialogs) {
  struct Row {
    const char* box;
    int item;
    std::optional<setup::ScalePair> pair;
    std::optional<std::string> text;
    std::string opened;
    QString shownAfter;
  };
  const Row rows[] = {
      {"ScalingBox1", 5, setup::ScalePair{"1.0000", "50.000"}, std::nullopt,
       "linear 1 Linear: 0.0000 / 100.00", "Linear: 1.0000 / 50.000"},
      {"ScalingBox2", 5, std::nullopt, std::nullopt, "linear 2 Linear: 0.0000 / 100.00",
       "Thermistor \"C\"  (C.rvt)"},
      {"ScalingBox4", 11, setup::ScalePair{"0.0000", "1.0000"}, std::nullopt, "contact 4 Fer/Ouv: 0.0000 / 100.00",
       "Fer/ouv: 0.0000 / 1.0000"},
      {"ScalingBox3", 7, std::nullopt, std::string("SOIL.RVT"), "table 3", "Table: (SOIL.RVT)"},
      {"ScalingBox3", 7, std::nullopt, std::nullopt, "table 3", "Thermistor \"C\"  (C.rvt)"},
      {"StartBox", 1, std::nullopt, std::string("Friday, 11/12/2026 08:00"), "preset", "Friday, 11/12/2026 08:00"},
      {"StartBox", 3, std::nullopt, std::nullopt, "dialout", QString::fromUtf8("immédiat ")},
  };
  for (const Row& r : rows) {
    Desktop d;
    openSetup(d);
    // Each dialog answers from its own script.
    if (r.opened.starts_with("linear") || r.opened.starts_with("contact")) d.setupDialogs.pairs.push_back(r.pair);
    else d.setupDialogs.texts.push_back(r.text);
    control<QComboBox>(d, r.box)->setCurrentIndex(r.item);
    EXPECT_EQ(d.setupDialogs.opened, std::vector<std::string>{r.opened}) << r.box << r.item;
    EXPECT_EQ(boxText(d, r.box), r.shownAfter) << r.box << r.item;
    EXPECT_TRUE(control<QLabel>(d, "ModifiedLabel")->isVisible());
  }
}

TEST(SetupWindow, SendGuardCancelKeepsTheRealTimeGraph) {
  Desktop d;
  d.trigger("RealTimeGraph1");
  d.run(2);
  ASSERT_TRUE(d.ctx().realTimeGraph);
  window(d).open(false);
  d.prompter.answers.push_back(Answer::Cancel);
  click(d, "SENDBtn");
  ASSERT_EQ(d.prompter.messages.size(), 1u);
  EXPECT_EQ(d.prompter.messages[0].text, "Cette action va arréter le Graph TempsRéel"_cp);
  EXPECT_EQ(d.prompter.messages[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(d.ctx().kind, ExchangeKind::RealTime);
  EXPECT_TRUE(d.ctx().realTimeGraph);
  EXPECT_TRUE(d.session().exchangeRunning());
}

TEST(SetupWindow, SendThroughAnUnpluggedPortReportsAndGivesTheWindowBack) {
  Desktop d;
  d.port.setUnplugged(true);
  openSetup(d);
  click(d, "SENDBtn");
  ASSERT_TRUE(d.runUntilIdle(6000));
  EXPECT_TRUE(window(d).isEnabled());
  ASSERT_TRUE(d.session().lastOutcome().has_value());
  EXPECT_FALSE(d.session().lastOutcome()->succeeded);
  ASSERT_FALSE(d.prompter.messages.empty());
  // Told in a message box, not the log: nobody started the program for one action.
  EXPECT_EQ(d.prompter.messages.back().text, "Impossible d'ouvrir le PortCom - SVP vérifier   "_cp);
  EXPECT_TRUE(d.log().empty());
  EXPECT_FALSE(d.main().isEnabled());
}

TEST(SetupWindow, SendGoesToTheVirtualLoggerWithTheWindowLocked) {
  struct Row {
    const char* action;
    const char* told;
  };
  const Row rows[] = {
      {"MMSetup", "EnregisKaldo  en marche nouvelle config: default.set"},
      {"ChangeScaling1", "EnregisKaldo  en marche avec nouvel Echelle ou label."},
  };
  for (const auto& [action, told] : rows) {
    Desktop d;
    openSetup(d, action);
    d.trace.lines.clear();
    click(d, "SENDBtn");
    ASSERT_TRUE(d.session().exchangeRunning()) << action;
    EXPECT_EQ(d.ctx().kind, ExchangeKind::SendSetup);
    EXPECT_FALSE(window(d).isEnabled());
    EXPECT_FALSE(d.main().isEnabled());
    ASSERT_TRUE(d.runUntilIdle(4000));
    EXPECT_TRUE(window(d).isEnabled());
    EXPECT_TRUE(window(d).isVisible());
    // The setup window still holds the main window.
    EXPECT_FALSE(d.main().isEnabled());
    ASSERT_TRUE(d.session().lastOutcome().has_value());
    EXPECT_TRUE(d.session().lastOutcome()->succeeded) << action;
    for (const char* part : {"> >2", "> >3", "> >4"})
      EXPECT_TRUE(std::any_of(d.trace.lines.begin(), d.trace.lines.end(),
                              [&](const std::string& l) { return l.find(part) != std::string::npos; }))
          << action << " " << part;
    ASSERT_FALSE(d.prompter.messages.empty());
    EXPECT_EQ(d.prompter.messages.back().text, told);
    click(d, "ExitBtn");
    EXPECT_TRUE(d.main().isEnabled());
  }
}

TEST(Screenshots, SetupWindowFullAndLabelsOnly) {
  Desktop d({}, "kaldo5-12bit", [](settings::LoggerSettings& s) {
    s.NetworkMode = 1;
    s.UseModem = 1;
    s.PhoneNumber = "5551234";
  });
  const QString dir = QString(BREVIK_TEST_TMP) + "/../screenshots";
  QDir().mkpath(dir);
  for (const auto& [action, file] : {std::pair{"MMSetup", "/t_setup_full.png"}, std::pair{"ChangeScaling1", "/t_setup_labels.png"}}) {
    openSetup(d, action);
    click(d, "onoffbtn2");
    const QPixmap shot = window(d).grab();
    EXPECT_GT(shot.width(), 0);
    EXPECT_TRUE(shot.save(dir + file));
    d.prompter.answers.push_back(Answer::No);
    click(d, "ExitBtn");
    ASSERT_FALSE(window(d).isVisible());
  }
}

}  // namespace
}  // namespace brevik::testing
