#pragma once
// The two modem utility windows. Each starts its exchange and is disabled
// until the exchange has ended (the session tells the view, which calls
// exchangeEnded); the verdict comes as a message box.
//
// TCremote1 ("Configure Remote Modem") sends a site modem cabled to the PC
// its set-up string; it opens from the site modem list's Configure button.
// TComTestDlg ("Test de Communication Cable& Port") tests the port and the
// cable with a loop-back.

#include <QDialog>
#include <functional>

class QLineEdit;

namespace brevik::program {
class DesktopSession;
}

namespace brevik::ui {

class TCremote1 final : public QDialog {
  Q_OBJECT

 public:
  explicit TCremote1(program::DesktopSession& session, QWidget* parent = nullptr);
  void setHelpAction(std::function<void()> action) { help_ = std::move(action); }
  // Shown with the port and speed of the settings now.
  void openWindow();
  void exchangeEnded();

 private Q_SLOTS:
  void ConfigureBtnClick();

 private:
  program::DesktopSession& session_;
  QLineEdit* baud_;
  QLineEdit* port_;
  std::function<void()> help_;
};

class TComTestDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit TComTestDlg(program::DesktopSession& session, QWidget* parent = nullptr);
  void setHelpAction(std::function<void()> action) { help_ = std::move(action); }
  void openWindow();
  void exchangeEnded();

 private Q_SLOTS:
  void ComTestBtnClick();

 private:
  program::DesktopSession& session_;
  std::function<void()> help_;
};

}  // namespace brevik::ui
