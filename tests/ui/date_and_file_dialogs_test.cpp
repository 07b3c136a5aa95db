// The date dialog in its preset and dial-out modes (written with a fixed
// locale and a clock that stands still), the table chooser, and the port
// through which the setup window runs every one of its dialogs.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "setup/day_number.h"
#include "setup/setup_items.h"
#include "setup/setup_model.h"
#include "setup/start_texts.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "ui/locale_clock.h"
#include "ui/setup_dialogs.h"
#include "ui/t_get_date.h"
#include "ui/t_select_file.h"
#include "ui/text.h"

namespace brevik::testing {
namespace {

template <typename W>
W* child(QWidget& parent, const QString& name) {
  W* w = parent.findChild<W*>(name);
  if (w == nullptr) throw std::runtime_error("no control " + name.toStdString());
  return w;
}

// Wednesday 9 December 2026, 14:05:33.
constexpr DateTime kNow{2026, 12, 9, 14, 5, 33, 0, 3};

std::uint32_t dayNumber(int year, int month, int day) { return *setup::dayNumberOf({year, month, day}); }

// A user's choice in a combo box, as a click on an item gives it.
void pick(QComboBox* box, int index) {
  box->setCurrentIndex(index);
  Q_EMIT box->activated(index);
}

struct DateDialog {
  FixedClock clock{kNow};
  ui::LocaleClock localeClock;
  setup::LoggerConfiguration config;
  ui::TGetDate dlg;

  explicit DateDialog(bool dialOut, const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedKingdom),
                      const std::function<void(setup::LoggerConfiguration&)>& stored = {})
      : localeClock(clock, locale), dlg(localeClock) {
    config.setStartDate(dayNumber(2020, 5, 5));
    config.setStartTime(3600);
    if (stored) stored(config);
    dlg.prepare(config, dialOut);
    dlg.show();
  }
  template <typename W>
  W* get(const char* name) {
    return child<W>(dlg, name);
  }
  void click(const char* name) { get<QAbstractButton>(name)->click(); }
  void setTime(int h, int m, int s) { get<QTimeEdit>("TimePicker")->setTime(QTime(h, m, s)); }
};

TEST(GetDate, EachModeShowsItsCaptionAndControls) {
  for (bool dialOut : {false, true}) {
    DateDialog d(dialOut);
    EXPECT_EQ(d.dlg.windowTitle(), dialOut ? "Pre-set Dial-out Time for modem communications" : "Pre-set Date and Time");
    for (const char* name : {"DateLabel", "DatePicker", "TodayCheckBox"})
      EXPECT_EQ(d.get<QWidget>(name)->isVisible(), !dialOut) << name;
    for (const char* name : {"dialOutRadioGroup", "dialoutdayofweek", "dialoutdayofmonth"})
      EXPECT_EQ(d.get<QWidget>(name)->isVisible(), dialOut) << name;
    EXPECT_EQ(d.get<QLabel>("DateLabel")->text(), QString::fromUtf8("Date prévue"));
    EXPECT_EQ(d.get<QLabel>("TimeLabel")->text(), QString::fromUtf8("Heure prévue(ignorerseconde)"));
    EXPECT_EQ(d.get<QCheckBox>("TodayCheckBox")->text(), "jour d'envoi configur.");
    EXPECT_EQ(d.get<QWidget>("TimePicker")->toolTip(), "Seconds field is not currently used");
    EXPECT_EQ(d.get<QWidget>("dialOutRadioGroup")->property("title").toString(), "Dial Out Interval");
    EXPECT_TRUE(d.get<QDateEdit>("DatePicker")->calendarPopup());
    // Whatever was stored, the pickers start at the present moment.
    EXPECT_EQ(d.get<QDateEdit>("DatePicker")->date(), QDate(2026, 12, 9));
    EXPECT_EQ(d.get<QTimeEdit>("TimePicker")->time(), QTime(14, 5, 33));
    EXPECT_EQ(d.get<QComboBox>("dialoutdayofweek")->count(), 7);
    EXPECT_EQ(d.get<QComboBox>("dialoutdayofweek")->itemText(5), "Fri");
    EXPECT_EQ(d.get<QComboBox>("dialoutdayofmonth")->count(), 31);
    EXPECT_EQ(d.get<QComboBox>("dialoutdayofmonth")->itemText(30), "31");
  }
  FixedClock clock{kNow};
  ui::LocaleClock localeClock(clock, QLocale::c());
  ui::TGetDate unopened(localeClock);
  EXPECT_EQ(unopened.windowTitle(), QString::fromUtf8("Date et Heure prévues"));
}

TEST(GetDate, ActivationShowsTheStoredScheduleAndEnablesItsDayBox) {
  struct Case {
    std::uint8_t kind, weekday, monthday;
    const char* checked;
    bool weekdayEnabled, monthdayEnabled;
    const char* weekdayText;
    const char* monthdayText;
  };
  const Case cases[] = {
      {'a', 3, 15, "dialOutRadioGroup_2", false, true, "Sun", "15"},
      {'b', 3, 15, "dialOutRadioGroup_1", true, false, "Tue", "1"},
      {'c', 3, 15, "dialOutRadioGroup_0", false, false, "Sun", "1"},
      {0, 3, 15, "dialOutRadioGroup_0", false, false, "Sun", "1"},
      {'a', 3, 0, "dialOutRadioGroup_2", false, true, "Sun", "1"},  // a damaged day shows the first
  };
  for (const Case& c : cases) {
    DateDialog d(true, QLocale(QLocale::English, QLocale::UnitedKingdom), [&](setup::LoggerConfiguration& config) {
      config.setDialOutKind(c.kind);
      config.setDialOutWeekday(c.weekday);
      config.setDialOutMonthday(c.monthday);
    });
    EXPECT_TRUE(d.get<QRadioButton>(c.checked)->isChecked()) << c.kind;
    EXPECT_EQ(d.get<QComboBox>("dialoutdayofweek")->isEnabled(), c.weekdayEnabled) << c.kind;
    EXPECT_EQ(d.get<QComboBox>("dialoutdayofmonth")->isEnabled(), c.monthdayEnabled) << c.kind;
    EXPECT_EQ(d.get<QComboBox>("dialoutdayofweek")->currentText(), c.weekdayText) << c.kind;
    EXPECT_EQ(d.get<QComboBox>("dialoutdayofmonth")->currentText(), c.monthdayText) << c.kind;
    EXPECT_EQ(d.config.dialOutKind(), c.kind);  // showing writes nothing
  }
}

TEST(GetDate, DialOutOkWritesTheScheduleAndItsText) {
  struct Case {
    const char* button;
    int weekdayIndex;   // -1: not touched
    int monthdayIndex;  // -1: not touched
    QLocale locale;
    const char* text;
    std::uint8_t kind, weekday, monthday;
  };
  const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
  const QLocale us(QLocale::English, QLocale::UnitedStates);
  const Case cases[] = {
      {"dialOutRadioGroup_2", -1, 21, gb, "immediate; dialout on 22nd at 08:30", 'a', 1, 22},
      {"dialOutRadioGroup_2", -1, 10, gb, "immediate; dialout on 11th at 08:30", 'a', 1, 11},
      {"dialOutRadioGroup_2", -1, 12, gb, "immediate; dialout on 13th at 08:30", 'a', 1, 13},
      {"dialOutRadioGroup_2", -1, 0, gb, "immediate; dialout on 1st at 08:30", 'a', 1, 1},
      {"dialOutRadioGroup_2", -1, 22, us, "immediate; dialout on 23rd at 8:30 AM", 'a', 1, 23},
      {"dialOutRadioGroup_1", 5, -1, gb, "immediate; dialout on Fri at 08:30", 'b', 6, 1},
      {"dialOutRadioGroup_1", -1, -1, gb, "immediate; dialout on Sun at 08:30", 'b', 1, 1},
      {"dialOutRadioGroup_0", 5, 21, gb, "immediate; with 08:30 dialout", 'c', 6, 22},
      {nullptr, -1, -1, us, "immediate; with 8:30 AM dialout", 'c', 1, 1},
  };
  for (const Case& c : cases) {
    DateDialog d(true, c.locale, [](setup::LoggerConfiguration& config) {
      config.setDialOutWeekday(1);
      config.setDialOutMonthday(1);
    });
    if (c.button != nullptr) d.click(c.button);
    if (c.weekdayIndex >= 0) pick(d.get<QComboBox>("dialoutdayofweek"), c.weekdayIndex);
    if (c.monthdayIndex >= 0) pick(d.get<QComboBox>("dialoutdayofmonth"), c.monthdayIndex);
    d.setTime(8, 30, 45);
    d.click("OKBtn");
    EXPECT_EQ(d.dlg.itemText(), std::optional<std::string>(c.text));
    EXPECT_EQ(d.dlg.result(), QDialog::Accepted);
    EXPECT_EQ(d.config.dialOutKind(), c.kind) << c.text;
    EXPECT_EQ(d.config.dialOutWeekday(), c.weekday) << c.text;
    EXPECT_EQ(d.config.dialOutMonthday(), c.monthday) << c.text;
    // The seconds are stored, though never shown.
    EXPECT_EQ(d.config.startTime(), 8u * 3600 + 30 * 60 + 45);
    EXPECT_EQ(d.config.startDate(), dayNumber(2026, 12, 9));
  }
}

TEST(GetDate, TheScheduleIsWrittenAtOnceAndCancelKeepsIt) {
  DateDialog d(true);
  d.click("dialOutRadioGroup_1");
  EXPECT_EQ(d.config.dialOutKind(), 'b');
  EXPECT_TRUE(d.get<QComboBox>("dialoutdayofweek")->isEnabled());
  EXPECT_FALSE(d.get<QComboBox>("dialoutdayofmonth")->isEnabled());
  pick(d.get<QComboBox>("dialoutdayofweek"), 4);
  EXPECT_EQ(d.config.dialOutWeekday(), 5);
  d.click("dialOutRadioGroup_2");
  EXPECT_EQ(d.config.dialOutKind(), 'a');
  pick(d.get<QComboBox>("dialoutdayofmonth"), 30);
  EXPECT_EQ(d.config.dialOutMonthday(), 31);
  d.click("dialOutRadioGroup_1");
  d.click("CancelBtn");
  EXPECT_FALSE(d.dlg.isVisible());
  EXPECT_EQ(d.dlg.itemText(), std::nullopt);
  EXPECT_EQ(d.config.dialOutKind(), 'b');
  EXPECT_EQ(d.config.startDate(), dayNumber(2020, 5, 5));  // only OK writes the start
  EXPECT_EQ(d.config.startTime(), 3600u);
}

TEST(GetDate, PresetOkWritesTheStartAndItsTextWithoutSeconds) {
  struct Case {
    bool storedToday;
    bool clickToday;  // the today box clicked once
    QDate picked;
    QTime time;
    QLocale locale;
    const char* text;
    bool today;
    std::uint32_t date;
  };
  const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
  const QLocale us(QLocale::English, QLocale::UnitedStates);
  const Case cases[] = {
      {false, false, QDate(2027, 1, 15), QTime(9, 0, 12), gb, "Friday, 15/01/2027 09:00", false,
       dayNumber(2027, 1, 15)},
      {false, false, QDate(2027, 1, 15), QTime(0, 0, 0), gb, "Friday, 15/01/2027", false, dayNumber(2027, 1, 15)},
      {false, false, QDate(2027, 1, 15), QTime(14, 5, 33), us, "Friday, 1/15/27 2:05 PM", false,
       dayNumber(2027, 1, 15)},
      {true, false, QDate(2027, 1, 15), QTime(14, 5, 33), gb, "Wednesday, 09/12/2026 14:05", true,
       dayNumber(2026, 12, 9)},
      {false, true, QDate(2027, 1, 15), QTime(7, 45, 0), gb, "Wednesday, 09/12/2026 07:45", true,
       dayNumber(2026, 12, 9)},
      {true, true, QDate(2027, 1, 15), QTime(7, 45, 0), gb, "Friday, 15/01/2027 07:45", false,
       dayNumber(2027, 1, 15)},
  };
  for (const Case& c : cases) {
    DateDialog d(false, c.locale, [&](setup::LoggerConfiguration& config) {
      config.setStartToday(c.storedToday);
      config.setDialOutKind('b');
    });
    EXPECT_EQ(d.get<QCheckBox>("TodayCheckBox")->isChecked(), c.storedToday);
    EXPECT_EQ(d.get<QDateEdit>("DatePicker")->isEnabled(), !c.storedToday);
    if (c.clickToday) {
      d.click("TodayCheckBox");
      EXPECT_EQ(d.get<QDateEdit>("DatePicker")->isEnabled(), c.storedToday);
    }
    if (d.get<QDateEdit>("DatePicker")->isEnabled()) d.get<QDateEdit>("DatePicker")->setDate(c.picked);
    d.get<QTimeEdit>("TimePicker")->setTime(c.time);
    d.click("OKBtn");
    EXPECT_EQ(d.dlg.itemText(), std::optional<std::string>(c.text));
    EXPECT_EQ(d.config.startToday(), c.today) << c.text;
    EXPECT_EQ(d.config.startDate(), c.date) << c.text;
    EXPECT_EQ(d.config.startTime(), static_cast<std::uint32_t>(c.time.msecsSinceStartOfDay() / 1000)) << c.text;
    EXPECT_EQ(d.config.dialOutKind(), setup::kDialOutNone) << c.text;
    // The setup form shows the stored start again with the same text.
    EXPECT_EQ(setup::presetStartItemText(d.config, d.localeClock), c.text);
  }
}

TEST(GetDate, PresetCancelWritesNothing) {
  DateDialog d(false);
  const setup::LoggerConfiguration before = d.config;
  d.get<QDateEdit>("DatePicker")->setDate(QDate(2030, 1, 1));
  d.click("TodayCheckBox");
  d.click("CancelBtn");
  EXPECT_EQ(d.dlg.itemText(), std::nullopt);
  EXPECT_EQ(d.config, before);
}

TEST(LocaleClock, LongTimeLosesItsZoneAndTheSecondsGoAsTheFormRemovesThem) {
  struct Case {
    QLocale locale;
    const char* format;
    const char* time;
  };
  const Case cases[] = {
      {QLocale(QLocale::English, QLocale::UnitedKingdom), "HH:mm:ss", "14:05:33"},
      {QLocale(QLocale::English, QLocale::UnitedStates), "h:mm:ss AP", "2:05:33 PM"},
      {QLocale(QLocale::French, QLocale::France), "HH:mm:ss", "14:05:33"},
  };
  FixedClock clock{kNow};
  for (const Case& c : cases) {
    ui::LocaleClock lc(clock, c.locale);
    EXPECT_EQ(lc.longTimeFormat(), c.format);
    EXPECT_EQ(lc.longTime(kNow), c.time);
  }
  EXPECT_EQ(ui::withoutTimeZone("HH 'ht' mm t"), "HH 'ht' mm");
}

// ------------------------------------------------------------------ chooser

struct Chooser {
  TempDir home;
  std::unique_ptr<ui::TSelectFile> dlg;

  Chooser() {
    for (const char* name : {"MYTAB.RVT", "mytab2.rvt", "ABCDEFGHI.Rvt", "notes.txt", "RVT", "old.RVT.bak"})
      home.write(name, "x");
    std::filesystem::create_directory(home / "FOLDER.RVT");
    dlg = std::make_unique<ui::TSelectFile>(home.path());
    dlg->prepare("Custom Table", "Select a Brevik Logger scaling table (.RVT)", "*.RVT");
    dlg->show();
  }
  QListWidget* list() { return child<QListWidget>(*dlg, "FileListBox1"); }
  QStringList names() {
    QStringList n;
    for (int i = 0; i < list()->count(); ++i) n << list()->item(i)->text();
    return n;
  }
  void select(const QString& name) { list()->setCurrentItem(list()->findItems(name, Qt::MatchExactly).value(0)); }
};

TEST(SelectFile, ListsTheHomesTablesInAnyCaseAndWaitsForOne) {
  Chooser c;
  EXPECT_EQ(c.dlg->windowTitle(), "Custom Table");
  EXPECT_EQ(child<QLabel>(*c.dlg, "Label1")->text(), "Select a Brevik Logger scaling table (.RVT)");
  EXPECT_EQ(c.names(), (QStringList{"ABCDEFGHI.Rvt", "MYTAB.RVT", "mytab2.rvt"}));
  EXPECT_EQ(child<QLineEdit>(*c.dlg, "FileNameBox")->text(), "*.RVT");
  EXPECT_TRUE(child<QLineEdit>(*c.dlg, "FileNameBox")->isReadOnly());
  EXPECT_FALSE(child<QPushButton>(*c.dlg, "OKBtn")->isEnabled());
  c.select("mytab2.rvt");
  EXPECT_EQ(child<QLineEdit>(*c.dlg, "FileNameBox")->text(), "mytab2.rvt");
  EXPECT_TRUE(child<QPushButton>(*c.dlg, "OKBtn")->isEnabled());
}

TEST(SelectFile, OkGivesTheNameThatTheFormCutsAtCollect) {
  struct Case {
    const char* file;
    const char* itemText;
    const char* tableName;
  };
  const Case cases[] = {{"MYTAB.RVT", "Table: (MYTAB.RVT)", "MYTAB"},
                        {"ABCDEFGHI.Rvt", "Table: (ABCDEFGHI.Rvt)", "ABCDEFGH"},
                        {"mytab2.rvt", "Table: (mytab2.rvt)", "mytab2"}};
  for (const Case& c : cases) {
    Chooser chooser;
    chooser.select(c.file);
    child<QPushButton>(*chooser.dlg, "OKBtn")->click();
    ASSERT_EQ(chooser.dlg->chosen(), std::optional<std::string>(c.file));
    EXPECT_FALSE(chooser.dlg->isVisible());

    FixedClock clock{kNow};
    setup::LoggerConfiguration config = setup::LoggerConfiguration::builtInDefault(clock);
    setup::SetupModel model;
    model.populateFromRecord(config, clock);
    ASSERT_EQ(model.selectScaling(2, setup::kScaleItemChooseTable), setup::ScalingAction::TableChooser);
    model.tableChosen(*chooser.dlg->chosen());
    EXPECT_EQ(model.scalingBoxes[1].text(), c.itemText);
    model.collect(config);
    EXPECT_EQ(config.tableName(2), c.tableName);
  }
}

TEST(SelectFile, CancelAndTheDoubleClick) {
  Chooser cancelled;
  cancelled.select("MYTAB.RVT");
  child<QPushButton>(*cancelled.dlg, "CancelBtn")->click();
  EXPECT_EQ(cancelled.dlg->chosen(), std::nullopt);
  EXPECT_FALSE(cancelled.dlg->isVisible());

  Chooser doubleClicked;
  QListWidgetItem* item = doubleClicked.list()->findItems("ABCDEFGHI.Rvt", Qt::MatchExactly).value(0);
  doubleClicked.list()->setCurrentItem(item);
  Q_EMIT doubleClicked.list()->itemDoubleClicked(item);
  EXPECT_EQ(doubleClicked.dlg->chosen(), std::optional<std::string>("ABCDEFGHI.Rvt"));
}

// --------------------------------------------------------------------- port

// Runs `inside` on the dialog the port opens, once it is up.
void whenModalOpens(const std::function<void(QWidget&)>& inside) {
  QTimer::singleShot(0, [inside] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      ADD_FAILURE() << "no dialog opened";
      return;
    }
    inside(*modal);
  });
}

void type(QWidget& dlg, const char* field, const char* text) { child<QLineEdit>(dlg, field)->setText(text); }
void click(QWidget& dlg, const char* button) { child<QAbstractButton>(dlg, button)->click(); }

TEST(SetupDialogsPort, EachFunctionRunsItsDialogAndGivesWhatWasAccepted) {
  TempDir home;
  home.write("MYTAB.RVT", "x");
  ScriptedPrompter prompter;
  FixedClock clock{kNow};
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
  const ui::SetupDialogs dialogs = ui::setupDialogsOf(nullptr, home.path(), prompter, clock);

  whenModalOpens([](QWidget& dlg) {
    EXPECT_EQ(dlg.objectName(), "TLinscaleDlg");
    EXPECT_EQ(child<QLineEdit>(dlg, "LoVal_dlg")->text(), "");
    type(dlg, "LoVal_dlg", "5");
    type(dlg, "HiVal_dlg", "10");
    click(dlg, "OKBtn");
  });
  const auto linear = dialogs.linearScale(1, "Linear: 0.0000 / 100.00");
  ASSERT_TRUE(linear);
  EXPECT_EQ(setup::linearItemText(*linear), "Linear: 5.0000 / 10.000");

  whenModalOpens([](QWidget& dlg) {
    EXPECT_EQ(dlg.objectName(), "TContactDlg");
    type(dlg, "LoVal_dlg", "0");
    type(dlg, "HiVal_dlg", "1");
    click(dlg, "OKBtn");
  });
  const auto contact = dialogs.contactScale(2, "Nle valeur Fer/Ouv:");
  ASSERT_TRUE(contact);
  EXPECT_EQ(setup::contactItemText(*contact), "Fer/ouv: 0.0000 / 1.0000");

  whenModalOpens([](QWidget& dlg) { click(dlg, "CancelBtn"); });
  EXPECT_EQ(dialogs.contactScale(2, ""), std::nullopt);

  whenModalOpens([](QWidget& dlg) {
    EXPECT_EQ(dlg.windowTitle(), "Custom Table");
    auto* list = child<QListWidget>(dlg, "FileListBox1");
    list->setCurrentRow(0);
    click(dlg, "OKBtn");
  });
  EXPECT_EQ(dialogs.tableChooser(3), std::optional<std::string>("MYTAB.RVT"));

  setup::LoggerConfiguration config;
  whenModalOpens([](QWidget& dlg) {
    EXPECT_EQ(dlg.windowTitle(), "Pre-set Dial-out Time for modem communications");
    click(dlg, "dialOutRadioGroup_2");
    pick(child<QComboBox>(dlg, "dialoutdayofmonth"), 21);
    child<QTimeEdit>(dlg, "TimePicker")->setTime(QTime(8, 30, 0));
    click(dlg, "OKBtn");
  });
  EXPECT_EQ(dialogs.dialOut(config), std::optional<std::string>("immediate; dialout on 22nd at 08:30"));
  EXPECT_EQ(config.dialOutKind(), 'a');

  whenModalOpens([](QWidget& dlg) {
    EXPECT_EQ(dlg.windowTitle(), "Pre-set Date and Time");
    EXPECT_FALSE(child<QWidget>(dlg, "dialOutRadioGroup")->isVisible());
    click(dlg, "CancelBtn");
  });
  EXPECT_EQ(dialogs.presetStart(config), std::nullopt);
  EXPECT_EQ(config.dialOutKind(), 'a');
  QLocale::setDefault(QLocale::system());
  EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace brevik::testing
