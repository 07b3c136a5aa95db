#pragma once
// The text export dialog (TAsciiDlg): form, averaging, header and note of an
// export of the loaded data file, and the file it goes to. Its rules live in
// export/export_dialog.h; the export itself is exportLoadedFile.

#include <QDialog>
#include <filesystem>
#include <functional>

#include "common/prompter.h"
#include "datafile/loaded_file.h"
#include "export/export_dialog.h"
#include "settings/logger_settings.h"
#include "ui/file_dialogs.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace brevik::ui {

class TAsciiDlg final : public QDialog {
  Q_OBJECT

 public:
  // Exports `file` (its shown span when zoomed); the options are read from
  // and stored in `settings`; save dialogs start in `home`.
  TAsciiDlg(const std::filesystem::path& home, settings::LoggerSettings& settings, Prompter& prompter,
            FileDialogs& fileDialogs, datafile::LoadedFile& file, QWidget* parent = nullptr);

  void setHelpAction(std::function<void()> action) { help_ = std::move(action); }

  // FormCreate: NoHeader and the averaging buttons from the stored options.
  void showStoredOptions();
  bool csvForm() const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private Q_SLOTS:
  void Edit1Click();
  void OKBtnClick();
  void AveragingClick();
  void NoHeaderClick();

 private:
  exporting::AveragingChoice averagingChoice() const;
  std::filesystem::path targetOf(const QString& name) const;

  std::filesystem::path home_;
  settings::LoggerSettings& settings_;
  Prompter& prompter_;
  FileDialogs& fileDialogs_;
  datafile::LoadedFile& file_;
  QButtonGroup* type_ = nullptr;
  QRadioButton* allPoints_ = nullptr;
  QRadioButton* oneAvg_ = nullptr;
  QRadioButton* avgNbr_ = nullptr;
  QLineEdit* ascField_ = nullptr;
  QLabel* ascFieldLabel_ = nullptr;
  QCheckBox* noHeader_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  QLabel* edit2Label_ = nullptr;
  std::function<void()> help_;
};

}  // namespace brevik::ui
