#include "ui/desktop_view.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/t_comm_status.h"
#include "ui/t_graph.h"
#include "ui/t_main.h"
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

QString QtDesktopView::windowTitleOf(program::WindowId window) {
  switch (window) {
    case program::WindowId::GraphOpenFile:
    case program::WindowId::Graph: return "Graph";
    case program::WindowId::RealTimeGraph: return "Real Time Graph";
    case program::WindowId::Setup: return "       KALDO  Setup";
    case program::WindowId::ScalingLabels: return "Change Scaling and/or Labels";
    case program::WindowId::StationAddress: return "Station Address";
    case program::WindowId::PhoneList: return "Phone List";
    case program::WindowId::LocalModems: return "Local Modems";
    case program::WindowId::RemoteModems: return "Site Modems";
    case program::WindowId::ComTest: return "Com Test";
  }
  return "Brevik Logger";
}

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
  if (notAvailable_ == nullptr) {
    notAvailable_ = new QDialog(main_);
    notAvailable_->setObjectName("NotAvailableWindow");
    notAvailableText_ = new QLabel(notAvailable_);
    notAvailableText_->setObjectName("NotAvailableText");
    notAvailableText_->setWordWrap(true);
    auto* ok = new QPushButton("OK", notAvailable_);
    ok->setObjectName("OKBtn");
    QObject::connect(ok, &QPushButton::clicked, notAvailable_, &QDialog::hide);
    auto* layout = new QVBoxLayout(notAvailable_);
    layout->addWidget(notAvailableText_);
    layout->addWidget(ok, 0, Qt::AlignRight);
  }
  const QString title = windowTitleOf(window).trimmed();
  notAvailable_->setWindowTitle(windowTitleOf(window));
  notAvailableText_->setText(
      QString("The %1 window is not available yet in this version of Brevik Logger.").arg(title));
  notAvailable_->show();
  notAvailable_->raise();
}

QDialog* QtDesktopView::notAvailableWindow() const { return notAvailable_; }

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
