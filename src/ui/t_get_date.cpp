#include "ui/t_get_date.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "setup/day_number.h"
#include "setup/start_texts.h"
#include "ui/dialog_buttons.h"
#include "ui/text.h"

namespace brevik::ui {

namespace {

// The radio group's buttons, in their order, and the kind each stands for.
constexpr char kKindOfButton[] = {setup::kDialOutDaily, setup::kDialOutWeekly, setup::kDialOutMonthly};
constexpr int kDaily = 0;
constexpr int kWeekly = 1;
constexpr int kMonthly = 2;

int buttonOfKind(std::uint8_t kind) {
  if (kind == setup::kDialOutMonthly) return kMonthly;
  if (kind == setup::kDialOutWeekly) return kWeekly;
  return kDaily;
}

}  // namespace

TGetDate::TGetDate(const LocaleClock& clock, QWidget* parent, std::function<void()> help)
    : QDialog(parent), clock_(clock) {
  setObjectName("TGetDate");
  setWindowTitle("Date et Heure prévues");
  setModal(true);

  dateLabel_ = new QLabel("Date prévue", this);
  dateLabel_->setObjectName("DateLabel");
  datePicker_ = new QDateEdit(this);
  datePicker_->setObjectName("DatePicker");
  datePicker_->setCalendarPopup(true);
  datePicker_->setDisplayFormat(clock_.locale().dateFormat(QLocale::LongFormat));
  datePicker_->setMinimumDate(QDate(1600, 1, 1));
  // Wide enough for the longest day and month names of the long date.
  const QString widest = clock_.locale().toString(QDate(2000, 9, 27), datePicker_->displayFormat());
  datePicker_->setMinimumWidth(datePicker_->fontMetrics().horizontalAdvance(widest) + 48);
  dateLabel_->setBuddy(datePicker_);

  auto* timeLabel = new QLabel("Heure prévue(ignorerseconde)", this);
  timeLabel->setObjectName("TimeLabel");
  timePicker_ = new QTimeEdit(this);
  timePicker_->setObjectName("TimePicker");
  timePicker_->setDisplayFormat(clock_.longTimeFormat());
  timePicker_->setToolTip("Seconds field is not currently used");
  timeLabel->setBuddy(timePicker_);

  today_ = new QCheckBox("jour d'envoi configur.", this);
  today_->setObjectName("TodayCheckBox");
  connect(today_, &QCheckBox::clicked, this, &TGetDate::TodayCheckBoxClick);

  interval_ = new QGroupBox("Dial Out Interval", this);
  interval_->setObjectName("dialOutRadioGroup");
  kinds_ = new QButtonGroup(interval_);
  auto* intervalLayout = new QGridLayout(interval_);
  const char* const captions[] = {"Daily", "Weekly", "Monthly"};
  for (int i = 0; i < 3; ++i) {
    auto* r = new QRadioButton(captions[i], interval_);
    r->setObjectName(QString("dialOutRadioGroup_%1").arg(i));
    kinds_->addButton(r, i);
    intervalLayout->addWidget(r, i, 0);
  }
  connect(kinds_, &QButtonGroup::idClicked, this, &TGetDate::dialOutRadioGroupClick);
  weekday_ = new QComboBox(interval_);
  weekday_->setObjectName("dialoutdayofweek");
  for (int day = 1; day <= 7; ++day) weekday_->addItem(fromCp(setup::dialOutWeekdayName(day)));
  connect(weekday_, &QComboBox::activated, this, &TGetDate::dialoutdayofweekChange);
  monthday_ = new QComboBox(interval_);
  monthday_->setObjectName("dialoutdayofmonth");
  for (int day = 1; day <= 31; ++day) monthday_->addItem(QString::number(day));
  connect(monthday_, &QComboBox::activated, this, &TGetDate::dialoutdayofmonthChange);
  intervalLayout->addWidget(weekday_, kWeekly, 1);
  intervalLayout->addWidget(monthday_, kMonthly, 1);

  const DialogButtons buttons = makeDialogButtons(*this, std::move(help));
  connect(buttons.ok, &QPushButton::clicked, this, &TGetDate::OKBtnClick);

  auto* pickers = new QGridLayout;
  pickers->addWidget(dateLabel_, 0, 0);
  pickers->addWidget(datePicker_, 1, 0);
  pickers->addWidget(today_, 2, 0);
  pickers->addWidget(timeLabel, 0, 1);
  pickers->addWidget(timePicker_, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(pickers);
  layout->addWidget(interval_);
  layout->addLayout(buttons.row);
}

void TGetDate::prepare(setup::LoggerConfiguration& config, bool dialOut) {
  config_ = &config;
  dialOut_ = dialOut;
  itemText_.reset();
}

std::optional<std::string> TGetDate::choose(setup::LoggerConfiguration& config, bool dialOut) {
  prepare(config, dialOut);
  exec();
  return itemText_;
}

void TGetDate::showEvent(QShowEvent* event) {
  FormActivate();
  QDialog::showEvent(event);
}

void TGetDate::FormActivate() {
  if (config_ == nullptr) return;
  const setup::LoggerConfiguration& config = *config_;
  if (dialOut_) {
    setWindowTitle("Pre-set Dial-out Time for modem communications");
    const int button = buttonOfKind(config.dialOutKind());
    kinds_->button(button)->setChecked(true);
    if (button == kMonthly && config.dialOutMonthday() >= 1 && config.dialOutMonthday() <= 31)
      monthday_->setCurrentIndex(config.dialOutMonthday() - 1);
    if (button == kWeekly && config.dialOutWeekday() >= 1 && config.dialOutWeekday() <= 7)
      weekday_->setCurrentIndex(config.dialOutWeekday() - 1);
  } else {
    setWindowTitle("Pre-set Date and Time");
  }
  dateLabel_->setVisible(!dialOut_);
  datePicker_->setVisible(!dialOut_);
  today_->setVisible(!dialOut_);
  interval_->setVisible(dialOut_);
  enableDayBoxes();

  // The pickers start at the present moment; the stored start is not shown again.
  const DateTime now = clock_.now();
  datePicker_->setDate(QDate(now.year, now.month, now.day));
  timePicker_->setTime(QTime(now.hour, now.minute, now.second));
  today_->setChecked(config.startToday());
  TodayCheckBoxClick();
}

void TGetDate::enableDayBoxes() {
  weekday_->setEnabled(kinds_->checkedId() == kWeekly);
  monthday_->setEnabled(kinds_->checkedId() == kMonthly);
}

std::uint8_t TGetDate::chosenKind() const {
  const int button = kinds_->checkedId();
  return static_cast<std::uint8_t>(kKindOfButton[button >= 0 && button < 3 ? button : kDaily]);
}

void TGetDate::dialOutRadioGroupClick(int) {
  if (config_ != nullptr) config_->setDialOutKind(chosenKind());
  enableDayBoxes();
}

void TGetDate::dialoutdayofweekChange(int index) {
  if (config_ != nullptr && index >= 0) config_->setDialOutWeekday(static_cast<std::uint8_t>(index + 1));
}

void TGetDate::dialoutdayofmonthChange(int index) {
  if (config_ != nullptr && index >= 0) config_->setDialOutMonthday(static_cast<std::uint8_t>(index + 1));
}

void TGetDate::TodayCheckBoxClick() { datePicker_->setEnabled(!today_->isChecked()); }

DateTime TGetDate::chosenMoment(bool today) const {
  const DateTime now = clock_.now();
  const QDate date = today ? QDate(now.year, now.month, now.day) : datePicker_->date();
  const QTime time = timePicker_->time();
  DateTime t;
  t.year = date.year();
  t.month = date.month();
  t.day = date.day();
  t.hour = time.hour();
  t.minute = time.minute();
  t.second = time.second();
  t.weekday = weekdayOf(t.year, t.month, t.day);
  return t;
}

void TGetDate::OKBtnClick() {
  if (config_ == nullptr) return;
  setup::LoggerConfiguration& config = *config_;
  const bool today = dialOut_ || today_->isChecked();
  const DateTime moment = chosenMoment(today);
  if (auto day = setup::dayNumberOf({moment.year, moment.month, moment.day})) config.setStartDate(*day);
  config.setStartTime(setup::secondsSinceMidnight(moment));

  if (dialOut_) {
    const std::uint8_t kind = chosenKind();
    config.setDialOutKind(kind);
    // The text names the days the boxes show; the record must say the same
    // even when a box was never touched (a stored day out of range shows
    // the first one).
    if (kind == setup::kDialOutWeekly) config.setDialOutWeekday(static_cast<std::uint8_t>(weekday_->currentIndex() + 1));
    if (kind == setup::kDialOutMonthly)
      config.setDialOutMonthday(static_cast<std::uint8_t>(monthday_->currentIndex() + 1));
    const std::string time = setup::removeSeconds(clock_.longTime(moment));
    itemText_ = setup::dialogDialOutItemText(kind, toCp(weekday_->currentText()), monthday_->currentIndex() + 1, time);
  } else {
    config.setStartToday(today);
    config.setDialOutKind(setup::kDialOutNone);
    itemText_ = setup::presetStartItemText(config, clock_);
  }
  accept();
}

}  // namespace brevik::ui
