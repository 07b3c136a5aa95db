#pragma once
// The Qt windows seen by the link and the desktop session: what the engine
// and the session decide, shown in TMain, TCommStatus, TStatus and TGraph,
// and the windows the main window's commands open.

#include <QString>
#include <functional>

#include "program/desktop_session.h"
#include "link/exchange_observer.h"


namespace brevik::ui {

class TComTestDlg;
class TCommStatus;
class TCremote1;
class TDB0;
class TDB1;
class TDB2;
class TGraph;
class TMain;
class TSndNetAddr;
class TSetup;
class TStatus;

class QtDesktopView final : public link::ExchangeObserver, public program::DesktopWindows {
 public:
  QtDesktopView(TCommStatus& comm, TStatus& status, std::function<void()> quit);
  void setMainWindow(TMain* main) { main_ = main; }
  void setGraphWindow(TGraph* graph) { graph_ = graph; }
  void setSetupWindow(TSetup* setup) { setup_ = setup; }
  void setStationAddressWindow(TSndNetAddr* window) { stationAddress_ = window; }
  struct ModemWindows {
    TDB0* phoneList = nullptr;
    TDB1* localModems = nullptr;
    TDB2* remoteModems = nullptr;
    TCremote1* remoteModem = nullptr;
    TComTestDlg* comTest = nullptr;
  };
  void setModemWindows(ModemWindows windows) { modemWindows_ = windows; }
  // A child window that holds the main window (the graph in file mode, the
  // setup window, the station address window) closed; the main window comes
  // back when no exchange runs.
  void releaseMainWindow();

  // ---- ExchangeObserver: TCommStatus ----
  void exchangeStarted(const link::ExchangeDisplay& display) override;
  void stepText(std::string_view text) override;
  void meter(int percent) override;
  void blockCount(std::uint32_t blocks) override;
  void abortAvailable(bool available) override;
  void exchangeEnded() override;
  void downloadFinished() override;

  // ---- DesktopWindows ----
  void fillStatusForm(const protocol::StatusForm& form, bool realTimeAppearance) override;
  void showStatusForm() override;
  void hideStatusForm() override;
  void setValueTexts(const std::array<std::string, 4>& texts) override;
  void openWindow(program::WindowId window) override;
  void openGraphOf(const std::string& dataFileName) override;
  void setExchangeRunning(bool running) override;
  void setIdentificationDigits(std::optional<link::IdentificationDigits> digits) override;
  void setScheduleText(std::string_view text) override;
  void showStatusDisplay() override;
  void setReadingError(std::string_view text) override;
  void closeRealTimeDisplay() override;
  void showMainWindow() override;
  void realTimeGraphReading(bool first) override;
  void realTimeGraphEnded() override;
  void closeStationAddressWindow() override;
  void modemUtilityEnded(link::ExchangeKind kind) override;
  void phoneBoxTextChanged() override;
  void quitProgram() override;
  void showAnswerText(std::string_view text, bool timer1Runs) override;
  void hideAnswerText() override;
  void refreshMainWindow() override;

 private:
  TCommStatus& comm_;
  TStatus& status_;
  void holdMainWindow();
  void applyMainEnabled();

  TMain* main_ = nullptr;
  TGraph* graph_ = nullptr;
  TSndNetAddr* stationAddress_ = nullptr;
  TSetup* setup_ = nullptr;
  bool mainHeld_ = false;
  std::function<void()> quit_;
  ModemWindows modemWindows_;
  bool exchangeRunning_ = false;
};

}  // namespace brevik::ui
