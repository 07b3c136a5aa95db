#pragma once
// The date dialog (TGetDate): the time of a preset start, or the modem
// dial-out schedule of an immediate start. The schedule's radio group and
// day boxes write the Logger Configuration as soon as they change; OK writes
// the start date and time and gives the start box's new item text.

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "setup/logger_configuration.h"
#include "ui/locale_clock.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QTimeEdit;

namespace brevik::ui {

class TGetDate final : public QDialog {
  Q_OBJECT

 public:
  // `clock` gives today and the locale's formats; it must outlive the dialog.
  explicit TGetDate(const LocaleClock& clock, QWidget* parent = nullptr, std::function<void()> help = {});

  // The record the dialog edits (it must outlive the opening) and the mode.
  void prepare(setup::LoggerConfiguration& config, bool dialOut);
  // The start box item text OK gave; none before OK or after Cancel.
  const std::optional<std::string>& itemText() const { return itemText_; }
  // prepare, then runs the dialog.
  std::optional<std::string> choose(setup::LoggerConfiguration& config, bool dialOut);

 protected:
  void showEvent(QShowEvent* event) override;

 private Q_SLOTS:
  void FormActivate();
  void dialOutRadioGroupClick(int index);
  void dialoutdayofweekChange(int index);
  void dialoutdayofmonthChange(int index);
  void TodayCheckBoxClick();
  void OKBtnClick();

 private:
  void enableDayBoxes();
  std::uint8_t chosenKind() const;
  DateTime chosenMoment(bool today) const;

  const LocaleClock& clock_;
  setup::LoggerConfiguration* config_ = nullptr;
  bool dialOut_ = false;
  std::optional<std::string> itemText_;

  QLabel* dateLabel_ = nullptr;
  QDateEdit* datePicker_ = nullptr;
  QTimeEdit* timePicker_ = nullptr;
  QCheckBox* today_ = nullptr;
  QGroupBox* interval_ = nullptr;
  QButtonGroup* kinds_ = nullptr;
  QComboBox* weekday_ = nullptr;
  QComboBox* monthday_ = nullptr;
};

}  // namespace brevik::ui
