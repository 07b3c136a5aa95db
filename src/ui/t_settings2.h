#pragma once
// The Settings dialog: communication settings of the Logger Settings. The
// rules of OK live in app/settings_dialog.h; the dialog copies its controls
// into a SettingsDialogState and shows what the rules answer.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "settings/settings_dialog.h"
#include "common/prompter.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace brevik::ui {

class TSettings2 final : public QDialog {
  Q_OBJECT

 public:
  // `accepted` runs after OK stored the settings (the main window follows them).
  TSettings2(settings::LoggerSettings& settings, Prompter& prompter, QWidget* parent = nullptr);

  void setAcceptedAction(std::function<void(const settings::SettingsDialogOutcome&)> action) {
    accepted_ = std::move(action);
  }
  void setHelpAction(std::function<void()> action) { help_ = std::move(action); }
  // What stands behind COM1 to COM10 (Windows-1252), asked each time the
  // dialog shows, since adapters come and go.
  void setPortDescriptions(std::function<std::vector<std::string>()> describe) {
    describePorts_ = std::move(describe);
  }

  // FormShow: each control shows its field.
  void showFields();
  settings::SettingsDialogState controlState() const;

 private Q_SLOTS:
  void OKBtnClick();
  void AutocsvCheckBoxClick();
  void ExpDateFormatRGClick();
  void CB_modemClick();
  void PortGroupClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QGroupBox* radioGroup(const QString& name, const QString& caption, const QStringList& items,
                        QButtonGroup*& buttons, int columns);
  static int checkedIndex(const QButtonGroup* group);
  static void check(QButtonGroup* group, int index);

  settings::LoggerSettings& settings_;
  Prompter& prompter_;
  QButtonGroup* port_ = nullptr;
  QButtonGroup* baud_ = nullptr;
  QButtonGroup* network_ = nullptr;
  QButtonGroup* dateFormat_ = nullptr;
  QButtonGroup* timeFormat_ = nullptr;
  QCheckBox* modem_ = nullptr;
  QCheckBox* autoAnswer_ = nullptr;
  QCheckBox* wireless_ = nullptr;
  QCheckBox* mt7xx_ = nullptr;
  QCheckBox* autoCsv_ = nullptr;
  QLabel* portDevice_ = nullptr;
  std::vector<std::string> portDescriptions_;
  std::function<std::vector<std::string>()> describePorts_;
  int shownBaudIndex_ = 4;
  std::function<void(const settings::SettingsDialogOutcome&)> accepted_;
  std::function<void()> help_;
};

}  // namespace brevik::ui
