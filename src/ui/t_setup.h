#pragma once
// The setup window: shows the program's one setup form (SetupModel) and
// forwards each edit to it. Loading, saving and discarding go through the
// SetupDocument, the send through the desktop session; the boxes that open
// a scaling, chooser or date dialog ask the SetupDialogs port.

#include <QWidget>
#include <array>
#include <functional>

#include "common/prompter.h"
#include "program/desktop_session.h"
#include "setup/setup_document.h"
#include "ui/file_dialogs.h"
#include "ui/setup_dialogs.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace brevik::ui {

inline constexpr const char* kNewSetupCaption = "       KALDO  Setup";
inline constexpr const char* kScalingLabelsCaption = "Change Scaling and/or Labels";
inline constexpr const char* kSetupFilter = "Data Logger Setup|*.set|Data Logger Data|*.qx1";
inline constexpr const char* kSaveSetupFilter = "Data Logger Setup|*.set";
inline constexpr std::string_view kSaveChangesQuestion = "Save changes?";
inline constexpr std::string_view kNoStatusToLoadText = "No Status to load; Exit and select Receive/Status";
inline constexpr int kSetupHelpTopic = 3;
inline constexpr int kScalingLabelsHelpTopic = 4;

class TSetup final : public QWidget {
  Q_OBJECT

 public:
  TSetup(program::DesktopSession& session, FileDialogs fileDialogs, SetupDialogs dialogs, QWidget* parent = nullptr);

  // Start-up: the current setup file (or the default) into the record and
  // the form; the message of a missing file is shown unless nobody is there.
  void loadStartupSetup();
  // NewSetup1Click and ChangeScaling1Click: prepared and shown maximised.
  void open(bool labelsOnly);
  // The window shows the form as the model holds it.
  void showForm();
  // PhoneBox: the phone book entry chosen (or the number), as the session says.
  void showPhoneBox();

  void setDialogs(SetupDialogs dialogs) { dialogs_ = std::move(dialogs); }
  void setHelpAction(std::function<void(int topic)> action) { help_ = std::move(action); }
  // The window was left: the main window takes over again.
  void setClosedAction(std::function<void()> action) { closed_ = std::move(action); }

 public Q_SLOTS:
  void SENDBtnClick();
  void ExitBtnClick();
  void HelpButtonClick();
  void LoadBtnClick();
  void LoadStatBtnClick();
  void SaveBtnClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct ChannelRow {
    QPushButton* onOff = nullptr;
    QComboBox* scaling = nullptr;
    QComboBox* input = nullptr;
    QLineEdit* description = nullptr;
  };

  void build();
  void connectEdits();
  void setTabOrderOfControls();
  void scalingChanged(int channel, int index);
  void startChanged(int index);
  // Save As; true when the file was written.
  bool saveAs();
  // Exit's rule: true when the window may go.
  bool mayLeave();
  void leave();
  void showMessage(MessageKind kind, std::string_view text);
  void edited();

  setup::SetupDocument& document() { return session_.program().setup(); }
  setup::SetupModel& form() { return session_.program().setup().form; }

  program::DesktopSession& session_;
  FileDialogs fileDialogs_;
  SetupDialogs dialogs_;
  std::function<void(int)> help_;
  std::function<void()> closed_;
  bool leaving_ = false;

  QLabel* phoneLabel_ = nullptr;
  QLineEdit* phoneBox_ = nullptr;
  QFrame* stationBevel_ = nullptr;
  QSpinBox* station_ = nullptr;
  QPushButton* send_ = nullptr;
  QPushButton* exit_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  QLabel* fileName_ = nullptr;
  QLabel* modified_ = nullptr;
  QLineEdit* idEdit_ = nullptr;
  std::array<ChannelRow, setup::kChannelCount> rows_{};
  QComboBox* startBox_ = nullptr;
  QComboBox* runBox_ = nullptr;
  QComboBox* rateBox_ = nullptr;
  QLabel* resLabel_ = nullptr;
  QComboBox* resBox_ = nullptr;
  QLabel* duration_ = nullptr;
  QComboBox* modelBox_ = nullptr;
  QPushButton* load_ = nullptr;
  QPushButton* loadStatus_ = nullptr;
  QPushButton* save_ = nullptr;
};

}  // namespace brevik::ui
