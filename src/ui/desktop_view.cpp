#include "ui/desktop_view.h"

#include <QApplication>

#include "ui/t_comm_status.h"
#include "ui/t_graph.h"
#include "ui/t_db_list.h"
#include "ui/t_main.h"
#include "ui/t_modem_utilities.h"
#include "ui/t_setup.h"
#include "ui/t_snd_net_addr.h"
#include "ui/t_status.h"
#include "ui/text.h"

namespace brevik::ui {

QtDesktopView::QtDesktopView(TCommStatus& comm, TStatus& status, std::function<void()> quit)
    : comm_(comm), status_(status), quit_(std::move(quit)) {}

void QtDesktopView::exchangeStarted(const link::ExchangeDisplay& display) {
  comm_.setMeter(0);
  comm_.setBlockCount(0);
  comm_.setBlockCountVisible(display.blockCountShown);
  comm_.setDataFileText(fromCp(display.dataFileName));
  if (!display.abortEnabled) comm_.setAbortEnabled(false);
  comm_.setMeterVisible(display.meterShown);
  comm_.show();
  comm_.raise();
}

void QtDesktopView::stepText(std::string_view text) { comm_.setStatusText(fromCp(text)); }
void QtDesktopView::meter(int percent) { comm_.setMeter(percent); }
void QtDesktopView::blockCount(std::uint32_t blocks) { comm_.setBlockCount(blocks); }
void QtDesktopView::abortAvailable(bool available) { comm_.setAbortVisible(available); }
void QtDesktopView::exchangeEnded() { comm_.hide(); }
void QtDesktopView::downloadFinished() { QApplication::beep(); }

// The main window's enabled state follows the exchange alone; nothing else
// (a paint, a window opened or closed) gives it back while one runs.
void QtDesktopView::setExchangeRunning(bool running) {
  exchangeRunning_ = running;
  applyMainEnabled();
  // The setup window waits for its send as the main window does.
  if (setup_ != nullptr) setup_->setEnabled(!running);
}

void QtDesktopView::applyMainEnabled() {
  if (main_ != nullptr) main_->setEnabled(!exchangeRunning_ && !mainHeld_);
}

void QtDesktopView::holdMainWindow() {
  mainHeld_ = true;
  applyMainEnabled();
}

void QtDesktopView::releaseMainWindow() {
  mainHeld_ = false;
  applyMainEnabled();
}

void QtDesktopView::realTimeGraphReading(bool first) {
  if (graph_ != nullptr) graph_->realTimeReading(first);
}

void QtDesktopView::realTimeGraphEnded() {
  if (graph_ != nullptr) graph_->realTimeEnded();
}

void QtDesktopView::openGraphOf(const std::string& dataFileName) {
  if (graph_ == nullptr) return;
  holdMainWindow();
  graph_->showFile(std::filesystem::path(dataFileName));
}

void QtDesktopView::showMainWindow() {
  if (main_ == nullptr) return;
  main_->show();
  main_->raise();
}

void QtDesktopView::closeStationAddressWindow() {
  if (stationAddress_ != nullptr) stationAddress_->exchangeEnded();
}

void QtDesktopView::setIdentificationDigits(std::optional<link::IdentificationDigits> digits) {
  status_.setIdentificationText(digits ? QString("%1 %2").arg(digits->first).arg(digits->second) : QString());
}

void QtDesktopView::setScheduleText(std::string_view text) { status_.setScheduleText(fromCp(text)); }

void QtDesktopView::showStatusDisplay() {
  status_.show();
  status_.raise();
}

void QtDesktopView::setReadingError(std::string_view text) { status_.setValueText(fromCp(text)); }

void QtDesktopView::closeRealTimeDisplay() { status_.closeQuietly(); }

void QtDesktopView::fillStatusForm(const protocol::StatusForm& form, bool realTimeAppearance) {
  status_.fill(form);
  status_.setRealTimeAppearance(realTimeAppearance);
}

void QtDesktopView::showStatusForm() { showStatusDisplay(); }

void QtDesktopView::hideStatusForm() { status_.closeQuietly(); }

void QtDesktopView::setValueTexts(const std::array<std::string, 4>& texts) { status_.setValueTexts(texts); }

void QtDesktopView::openWindow(program::WindowId window) {
  if (graph_ != nullptr && window == program::WindowId::GraphOpenFile) {
    // The main window waits while the graph asks for its file; a cancelled
    // or failed open gives it back.
    holdMainWindow();
    if (graph_->chooseAndOpen()) {
      graph_->showCurrent();
    } else {
      releaseMainWindow();
    }
    return;
  }
  if (graph_ != nullptr && window == program::WindowId::RealTimeGraph) {
    // The window comes up with the first reading; a graph that runs already
    // is only shown again.
    graph_->showRealTime();
    return;
  }
  if (graph_ != nullptr && window == program::WindowId::Graph) {
    holdMainWindow();
    graph_->showCurrent();
    return;
  }
  if (setup_ != nullptr && (window == program::WindowId::Setup || window == program::WindowId::ScalingLabels)) {
    // The main window waits until the setup window closes.
    holdMainWindow();
    setup_->open(window == program::WindowId::ScalingLabels);
    return;
  }
  if (stationAddress_ != nullptr && window == program::WindowId::StationAddress) {
    // Not modal: the main window waits until the window closes.
    holdMainWindow();
    stationAddress_->show();
    stationAddress_->raise();
    return;
  }
  // The phone book and the modem utilities: modal over the main window.
  switch (window) {
    case program::WindowId::PhoneList:
      if (modemWindows_.phoneList != nullptr) modemWindows_.phoneList->openList();
      return;
    case program::WindowId::LocalModems:
      if (modemWindows_.localModems != nullptr) modemWindows_.localModems->openList();
      return;
    case program::WindowId::RemoteModems:
      if (modemWindows_.remoteModems != nullptr) modemWindows_.remoteModems->openList();
      return;
    case program::WindowId::ComTest:
      if (modemWindows_.comTest != nullptr) modemWindows_.comTest->openWindow();
      return;
    default:
      return;
  }
}

void QtDesktopView::modemUtilityEnded(link::ExchangeKind kind) {
  if (kind == link::ExchangeKind::ComTest && modemWindows_.comTest != nullptr) modemWindows_.comTest->exchangeEnded();
  if (kind == link::ExchangeKind::RemoteModemSetup && modemWindows_.remoteModem != nullptr)
    modemWindows_.remoteModem->exchangeEnded();
}

void QtDesktopView::phoneBoxTextChanged() {
  if (main_ != nullptr) main_->update();
  if (setup_ != nullptr) setup_->showPhoneBox();
}

void QtDesktopView::quitProgram() {
  if (quit_) quit_();
}

void QtDesktopView::showAnswerText(std::string_view text, bool timer1Runs) {
  if (main_ != nullptr) main_->showAnswerText(fromCp(text), timer1Runs);
}

void QtDesktopView::hideAnswerText() {
  if (main_ != nullptr) main_->hideAnswerText();
}

void QtDesktopView::refreshMainWindow() {
  // The paint rules decide what a call changes (ModemPanel); a hidden or
  // disabled window may not be painted soon, so they run now.
  if (main_ != nullptr) main_->applyPaintRules();
}

}  // namespace brevik::ui
