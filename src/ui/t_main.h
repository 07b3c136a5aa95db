#pragma once
// The main window: the menu that starts every exchange and opens every
// other window, the station and phone controls, and the auto-answer
// controls. Each handler calls the desktop session, which holds the rules.

#include <QMainWindow>
#include <functional>
#include <optional>

#include "program/desktop_session.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;

namespace brevik::ui {

// What the main window opens that belongs to the program around it.
struct MainWindowActions {
  std::function<void()> settings;  // TSettings2, modal
  std::function<void()> help;      // the contents page
  std::function<void()> about;
  // SaveDataFileDlg: the chosen file name, or nothing when cancelled.
  std::function<std::optional<QString>()> saveDataFile;
};

class TMain final : public QMainWindow {
  Q_OBJECT

 public:
  TMain(program::DesktopSession& session, MainWindowActions actions, QWidget* parent = nullptr);

  // Auto-answer mode entered or left (start-up, the Settings dialog): the
  // menus it locks, AutoAnswerLbl and aaEditbox, and the auto-answer port.
  void enterAutoAnswer();
  void leaveAutoAnswer();
  // aaEditbox: "WaitForConnect" or the modem's connect line (Timer1 runs
  // while the five seconds after it are counted); hidden while a call is served.
  void showAnswerText(const QString& text, bool timer1Runs);
  void hideAnswerText();
  // The paint rules (captions and visibility); run after every paint.
  void applyPaintRules();
  // How many times the paint rules ran (tests wait for the first paint).
  int paintCount() const { return paintCount_; }

 public Q_SLOTS:
  void Data1Click();
  void NewSetup1Click();
  void Showlaststatus1Click();
  void MMExitClick();
  void StaAddrClick();
  void ChangeScaling1Click();
  void Baudrate1Click();
  void DataFile1Click();
  void Status1Click();
  void RealTimeDisplay1Click();
  void RealTimeGraph1Click();
  void Graph1Click();
  void MainSettingsClick();
  void EditPhoneList1Click();
  void PhoneBoxClick();
  void SelectLocal1Click();
  void ConfigureRemote1Click();
  void ComTest1Click();
  void Contents1Click();
  void About1Click();
  void HangUpBtnClick();
  void NetFieldMainChange();
  void Timer1Timer();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* item(QMenu* menu, const char* name, const QString& caption, void (TMain::*handler)(),
                const QKeySequence& shortcut = {});
  QMenu* menu(const char* name, const QString& caption);
  void buildMenus();
  void buildControls();
  void stepStation(int step);
  void showAutoAnswerMode(bool on);

  program::DesktopSession& session_;
  MainWindowActions actions_;
  QFrame* netBevel_ = nullptr;
  QLabel* netLabel_ = nullptr;
  QLineEdit* netField_ = nullptr;
  QWidget* netSpin_ = nullptr;
  QFrame* phoneBevel_ = nullptr;
  QLabel* phoneLabel_ = nullptr;
  QLineEdit* phoneBox_ = nullptr;
  QFrame* modemPanel_ = nullptr;
  QPushButton* hangUpBtn_ = nullptr;
  QLabel* autoAnswerLbl_ = nullptr;
  QLineEdit* aaEditbox_ = nullptr;
  QTimer* timer1_ = nullptr;
  QList<QMenu*> lockedMenus_;
  QAction* graph1_ = nullptr;
  bool paintQueued_ = false;
  bool hangingUp_ = false;  // closing waits for the modem's hang-up
  int paintCount_ = 0;
};

}  // namespace brevik::ui
