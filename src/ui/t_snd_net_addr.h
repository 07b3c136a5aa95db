#pragma once
// The station address window ("Set Station Address (for network)"): gives
// the one connected logger a new station address. The address chosen here
// is held by the window until SEND and is not the address of the settings;
// the desktop session runs the exchange, and closes the window when it ends.

#include <QDialog>
#include <cstdint>
#include <functional>

class QLineEdit;
class QPushButton;

namespace brevik::program {
class DesktopSession;
}

namespace brevik::ui {

class UpDownSpinner;

class TSndNetAddr final : public QDialog {
  Q_OBJECT

 public:
  // Without a parent: the main window is disabled while this window is up,
  // and a child window would be disabled with it.
  explicit TSndNetAddr(program::DesktopSession& session, QWidget* parent = nullptr);

  void setHelpAction(std::function<void()> action) { help_ = std::move(action); }
  // Runs whenever the window is closed (Cancel, the close box, the end of
  // the exchange): the main window is given back.
  void setClosedAction(std::function<void()> action) { closed_ = std::move(action); }

  std::uint8_t newStationAddress() const { return newAddress_; }
  // The exchange SEND started is over: the window is enabled and closed.
  void exchangeEnded();

 private Q_SLOTS:
  void StationAddrFieldChange();
  void SendBtnClick();
  void CancelBtnClick();

 private:
  void step(int direction);
  void windowClosed();

  program::DesktopSession& session_;
  std::uint8_t newAddress_ = 0;
  QLineEdit* field_;
  UpDownSpinner* spinner_;
  QPushButton* send_;
  std::function<void()> help_;
  std::function<void()> closed_;
};

}  // namespace brevik::ui
