#pragma once
// The desktop program put together: the program state, the link's port and
// ticks, the windows in their start-up order, and the desktop session that
// joins them. main() and the window tests build it the same way; tests pass
// a virtual port, virtual ticks and a scripted prompter.

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "program/hang_up.h"
#include "program/program.h"
#include "common/clock.h"
#include "common/prompter.h"
#include "program/desktop_session.h"
#include "link/serial_port.h"
#include "link/tick_scheduler.h"
#include "ui/file_dialogs.h"
#include "ui/setup_dialogs.h"

class QDialog;
class QWidget;

namespace brevik::ui {

class HelpWindow;
class QtDesktopView;
class QtPrompter;
class TComTestDlg;
class TCommStatus;
class TCremote1;
class TDB0;
class TDB1;
class TDB2;
class TGraph;
class TMain;
class TSettings2;
class TSndNetAddr;
class TSetup;
class TStatus;

struct DesktopOptions {
  std::filesystem::path home;
  std::filesystem::path dataDir;                  // the shipped files (help pages, sim profiles)
  const Clock* clock = nullptr;                   // default: the system clock
  Prompter* prompter = nullptr;                   // default: message boxes
  link::TickScheduler* ticks = nullptr;           // default: real-time ticks
  link::SerialPort* port = nullptr;               // default: the port map's device or the virtual logger
  std::function<void()> quit;                     // default: leave the event loop
  std::function<std::optional<QString>()> saveDataFile;  // default: SaveDataFileDlg
  FileDialogs fileDialogs;                        // the graph's and setup's dialogs; default: QFileDialog
  SetupDialogs setupDialogs;                      // the setup window's dialogs; default: the real ones
};

// What main() does once the windows exist.
enum class StartMode {
  ShowMain,    // the main window is shown; its first paint starts any action
  Unattended,  // a command-line action runs without any window
  HangUp,      // the hang-up sequence runs, then the program ends
  Quit,        // the command line was invalid: it is logged, the program ends
};

class BrevikDesktop {
 public:
  // Start-up: settings loaded, command line applied, windows created.
  BrevikDesktop(DesktopOptions options, const std::vector<std::string>& positional);
  ~BrevikDesktop();
  BrevikDesktop(const BrevikDesktop&) = delete;
  BrevikDesktop& operator=(const BrevikDesktop&) = delete;

  StartMode startMode() const;
  // Starts what the mode asks for (shows the main window, starts the
  // unattended action or the hang-up).
  void start();

  program::Program& program() { return *program_; }
  program::DesktopSession& session() { return *session_; }
  Prompter& prompter() { return *prompter_; }
  TMain& mainWindow() { return *main_; }
  TSndNetAddr& stationAddressWindow() { return *stationAddress_; }
  TSettings2& settingsDialog() { return *settings_; }
  TCommStatus& commStatus() { return *comm_; }
  TStatus& statusForm() { return *status_; }
  HelpWindow& helpWindow() { return *help_; }
  TGraph& graphWindow() { return *graph_; }
  TSetup& setupWindow() { return *setup_; }
  QDialog& aboutBox() { return *about_; }
  QtDesktopView& view() { return *view_; }
  TDB0& phoneListWindow() { return *phoneList_; }
  TDB1& localModemsWindow() { return *localModems_; }
  TDB2& remoteModemsWindow() { return *remoteModems_; }
  TCremote1& remoteModemWindow() { return *remoteModem_; }
  TComTestDlg& comTestWindow() { return *comTest_; }
  // Whether any window of the program is visible (unattended runs show none).
  bool anyWindowVisible() const;

 private:
  void quit();
  void openSettings();

  DesktopOptions options_;
  std::unique_ptr<Clock> ownClock_;
  const Clock* clock_;
  std::unique_ptr<program::Program> program_;
  std::unique_ptr<link::TickScheduler> ownTicks_;
  link::TickScheduler* ticks_;
  std::unique_ptr<link::SerialPort> ownPort_;
  link::SerialPort* port_;
  std::unique_ptr<QtPrompter> ownPrompter_;
  Prompter* prompter_;
  std::unique_ptr<TCommStatus> comm_;
  std::unique_ptr<TStatus> status_;
  std::unique_ptr<QtDesktopView> view_;
  std::unique_ptr<program::DesktopSession> session_;
  std::unique_ptr<TMain> main_;
  std::unique_ptr<TSndNetAddr> stationAddress_;
  std::unique_ptr<QDialog> about_;
  std::unique_ptr<TSettings2> settings_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<TGraph> graph_;
  std::unique_ptr<TSetup> setup_;
  std::unique_ptr<TComTestDlg> comTest_;
  std::unique_ptr<TCremote1> remoteModem_;
  std::unique_ptr<TDB2> remoteModems_;
  std::unique_ptr<TDB0> phoneList_;
  std::unique_ptr<TDB1> localModems_;
  std::unique_ptr<program::ModemHangUp> hangUp_;
  std::unique_ptr<link::TraceSink> trace_;
  bool quitting_ = false;
};

// The about box: the program's name and version.
std::unique_ptr<QDialog> makeAboutBox(QWidget* parent);

}  // namespace brevik::ui
