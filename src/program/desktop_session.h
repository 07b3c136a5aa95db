#pragma once
// The desktop program's side of every exchange: the main window's commands
// with their guards, the command-line action of the first paint, the status
// form and the real-time display, and what the program does when an
// unattended run ends. The windows call it and show what it tells them
// through DesktopWindows and the ExchangeObserver; no rule lives in a window.
//
// Each command builds one ExchangeRequest; the outcome of the exchange comes
// back to exchangeEnded(), which tells the windows what is left to show.
// While an exchange runs the windows keep their commands locked
// (setExchangeRunning), and the session refuses to start another. The
// memory download of a receive is put together as kaldo's is
// (receive_assembly.h); the command-line send goes through send_setup.h with
// the program's one Logger Configuration.
//
// Unattended runs (a command-line s or r action) never show a window: the
// status and communication windows stay hidden, any message that is not
// already routed to the log becomes a log entry, and the program ends once
// the exchange is over.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "program/program.h"
#include "common/cp1252.h"
#include "common/prompter.h"
#include "link/exchange_engine.h"
#include "program/auto_answer.h"
#include "program/port_share.h"
#include "program/receive_assembly.h"
#include "program/setup_configuration_source.h"
#include "link/status_reply_flow.h"
#include "protocol/conversions.h"
#include "protocol/logger_status.h"
#include "protocol/status_texts.h"

namespace brevik::program {

// The texts of the main window's messages.
inline constexpr std::string_view kRealTimeGraphGuardText = "This action will terminate Real Time Graph";
inline constexpr std::string_view kRealTimeGraphGuardSetupText =
    "Cette action va interrompre graphTempsRéel"_cp;
inline constexpr std::string_view kNoStatusYetText = "Pas d'état dispo.; Cliquer/ RecevoirEtat"_cp;
inline constexpr std::string_view kSingleLoggerOnlyText = "Must be connected to a single logger; check Settings";
inline constexpr std::string_view kUncheckModemText = "Must first uncheck 'Use Modem' in Settings";
inline constexpr std::string_view kQx1OnlyText = "File name must end in '.QX1'";
// The real-time guards of the setup window's Send and of the remote modem
// set-up (the com test and the other commands use kRealTimeGraphGuardText).
inline constexpr std::string_view kRealTimeGraphGuardSendText = "Cette action va arréter le Graph TempsRéel"_cp;
inline constexpr std::string_view kRealTimeGraphGuardModemText = "Cette action va arréter le Graph tempsRéel"_cp;
// Closing the graph window while a real-time graph runs.
inline constexpr std::string_view kEmptyGraphBufferQuestion = "Vider le tampon graphique?";

// The windows an exchange or a command opens besides the status form.
enum class WindowId {
  GraphOpenFile,   // the graph window asks for a data file (Open1)
  Graph,           // the graph window shows the current data file
  RealTimeGraph,
  Setup,           // "       KALDO  Setup"
  ScalingLabels,   // "Change Scaling and/or Labels"
  StationAddress,
  PhoneList,
  LocalModems,
  RemoteModems,
  ComTest,
};

// What the desktop windows do for the session. The Qt windows implement it;
// tests script it.
class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;
  // TStatus: the texts of a status and its appearance ("Status", or the
  // real-time display with the clock hidden and white value boxes).
  virtual void fillStatusForm(const protocol::StatusForm& form, bool realTimeAppearance) = 0;
  virtual void showStatusForm() = 0;
  virtual void hideStatusForm() = 0;
  virtual void setValueTexts(const std::array<std::string, 4>& texts) = 0;  // Value1Box..Value4Box
  virtual void openWindow(WindowId window) = 0;
  // The graph window shown with a data file loaded while it is shown (after
  // a download, the command line's data file).
  virtual void openGraphOf(const std::string& dataFileName) = 0;
  // An exchange runs: the main window (and the setup window) take no command.
  virtual void setExchangeRunning(bool running) = 0;
  // The status display: the identification digits beside the date code, the
  // dial-out schedule, and the display brought up.
  virtual void setIdentificationDigits(std::optional<link::IdentificationDigits> digits) = 0;
  virtual void setScheduleText(std::string_view text) = 0;
  virtual void showStatusDisplay() = 0;
  // The real-time display: a reading that cannot be shown, and the display
  // closed for good.
  virtual void setReadingError(std::string_view text) = 0;
  virtual void closeRealTimeDisplay() = 0;
  virtual void showMainWindow() = 0;
  // The real-time graph: a reading was added to the graph model (the first
  // one shows the window), and the graph ended with its exchange.
  virtual void realTimeGraphReading(bool first) = 0;
  virtual void realTimeGraphEnded() = 0;
  virtual void closeStationAddressWindow() = 0;
  // A modem utility (remote modem set-up, com test) ended: its window takes
  // commands again.
  virtual void modemUtilityEnded(link::ExchangeKind kind) { (void)kind; }
  // The phone boxes' text changed (DesktopSession::phoneBoxText).
  virtual void phoneBoxTextChanged() {}
  // Ends the program at once: the main window's closing (and the saving of
  // the settings) does not run.
  virtual void quitProgram() = 0;
  // Auto-answer mode: aaEditbox shows `text` ("WaitForConnect", then the
  // modem's connect line, while Timer1 counts) or is hidden (a call is served).
  virtual void showAnswerText(std::string_view /*text*/, bool /*timer1Runs*/) {}
  virtual void hideAnswerText() {}
  // A modem call came up or went down: the main window shows it (ModemPanel).
  virtual void refreshMainWindow() {}
};

// How the status form is left (OKButton, or the window closed).
enum class StatusFormExit { OkButton, Closed };

struct StatusFormExitOutcome {
  bool closeForm = true;  // false: the form waits for "Real Time Link terminated"
  bool showMainWindow = true;
};

struct DesktopPorts {
  link::SerialPort& port;
  link::TickScheduler& ticks;
  link::ExchangeObserver& observer;
  Prompter& prompter;
  DesktopWindows& windows;
};

class DesktopSession final : private link::ExchangeHost, private link::StatusReplySteps, private link::ReadingsView {
 public:
  DesktopSession(program::Program& program, DesktopPorts ports);
  ~DesktopSession() override;
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  link::ExchangeEngine& engine() { return *engine_; }
  const link::LinkContext& context() const { return engine_->context(); }
  // An exchange runs (its outcome has not come back yet).
  bool exchangeRunning() const { return engine_->running(); }
  // The outcome of the last exchange that ended.
  const std::optional<link::ExchangeOutcome>& lastOutcome() const { return lastOutcome_; }
  // The setup window's mode, chosen by the command that opened it: scaling
  // and labels only, or the whole configuration.
  bool labelsOnly() const { return labelsOnly_; }
  program::Program& program() { return program_; }
  // Messages of the commands and the engine go through this one prompter.
  Prompter& prompter();

  // A command-line s or r action: no window is shown.
  bool unattended() const;
  bool statusAvailable() const { return statusAvailable_; }
  const std::optional<protocol::LoggerStatus>& lastStatus() const { return flow_->lastStatus(); }
  // The memory download of the Receive exchanges.
  const link::MemoryDownload& download() const { return receive_->download(); }

  // ---- the main window's commands (true when the command went ahead) ----
  bool openDataFile();                       // Data1Click
  bool newSetup();                           // NewSetup1Click
  bool changeScaling();                      // ChangeScaling1Click
  bool showLastStatus();                     // Showlaststatus1Click
  bool stationAddress();                     // StaAddrClick
  // The station address window's SEND: the logger gets `newAddress`.
  bool sendStationAddress(std::uint8_t newAddress);
  bool changeBaud();                         // Baudrate1Click
  // DataFile1Click after SaveDataFileDlg: the chosen name (Windows-1252).
  bool receiveData(const std::string& fileName);
  bool canStartReceive();                    // DataFile1Click's guard, before the dialog
  bool readStatus();                         // Status1Click
  bool realTimeDisplay();                    // RealTimeDisplay1Click
  bool realTimeGraph();                      // RealTimeGraph1Click
  void showGraph();                          // Graph1Click
  void openPhoneList();                      // EditPhoneList1Click, PhoneBoxClick
  void openLocalModems();                    // SelectLocal1Click
  void openRemoteModems();                   // ConfigureRemote1Click
  void openComTest();                        // ComTest1Click
  void stationFieldChanged(int value);       // NetFieldMainChange
  void hangUp();                             // HangUpBtnClick
  // The main window closing: a call this program dialled is hung up (DTR
  // pulse), a call being answered is cut and the modem hung up with +++ and
  // ATH; `then` runs once that is done. False when there was nothing to hang
  // up (`then` is not run).
  bool hangUpBeforeClosing(std::function<void()> then);
  // Auto-answer mode (start-up, the Settings dialog): the auto-answer port
  // waits for site calls and serves them; leaving it ends a call being served.
  void enterAutoAnswer();
  void leaveAutoAnswer();
  const AutoAnswer& autoAnswer() const { return *answer_; }
  // The guards of windows that end a running real-time graph before their
  // own exchange: true when no graph runs or the user agreed (it is ended).
  bool passSetupSendGuard();                 // TSetup's SENDBtn
  bool passRemoteModemGuard();               // TCremote1's ConfigureBtn
  bool passComTestGuard();                   // TComTestDlg's test
  // TCremote1's ConfigureBtn and TComTestDlg's ComTestBtn: the guard, then
  // the utility's exchange. True when it started; the window hears of its
  // end through modemUtilityEnded.
  bool configureRemoteModem();
  bool startComTest();
  // What both PhoneBoxes show: the name of the phone book's current entry,
  // or the number itself when the book has none or the command line gave it.
  const std::string& phoneBoxText() const { return phoneBoxText_; }
  // The phone list's OK chose `name`: the phone boxes show it, and a call
  // still up is hung up so that the next exchange dials the new number.
  void phoneEntryChosen(const std::string& name);
  // TSetup's SENDBtn after its guard: the form is collected into the
  // Logger Configuration, the checks are asked and the SendSetup exchange
  // starts (in the window's mode). True when it started.
  bool sendSetup();
  // The graph window closed during a real-time graph: Yes to "Vider le
  // tampon graphique?" ends the readings, No keeps them arriving.
  void realTimeGraphClosed(bool endReadings);

  // ---- the main window's paint ----
  // After every paint: the graph of the command line, and the command-line
  // action on the first paint only. A paint never changes what is enabled.
  void painted();
  // The command-line action alone (an unattended run starts it at once).
  void startCommandLineAction();

  // ---- the status form / real-time display ----
  StatusFormExitOutcome leaveStatusForm(StatusFormExit how);

 private:
  class SessionPrompter;
  class SessionObserver;
  class AnswerView;

  bool passRealTimeGraphGuard(std::string_view text);
  // Ends the readings of a RealTime exchange: old loggers that stream are
  // woken (EndRealTime), the others are no longer asked.
  void endReadings();
  bool readingsStream() const;
  // The run mode of this program's exchanges (its command-line action).
  link::RunMode runMode() const;
  // Starts `request` unless an exchange runs already; true when it started.
  bool startExchange(link::ExchangeRequest request);
  // The windows locked (or not) while `open` starts an exchange with the
  // session's callback; unlocked again when it starts none.
  bool openExchange(bool locksWindows, const std::function<bool(link::OutcomeCallback)>& open);
  void startReceiveExchange(const std::string& fileName);
  link::OutcomeCallback outcomeCallback();
  void exchangeEnded(const link::ExchangeOutcome& outcome);
  // Ends an unattended run whose exchange is over (or never started).
  void endUnattendedRun();
  void startCommandLineSend();
  // What became of the automatic export after a download.
  void exportTold(std::string_view text, bool exported);

  // ExchangeHost
  void logEntry(std::string_view text) override;
  void logAndQuit(std::string_view text) override;
  void hangUpModem() override;
  void autoAnswerHangUp() override;
  void beforeDialling() override;
  void modemCallConnected() override;

  // StatusReplySteps
  protocol::StatusDecodeResult decode(std::string_view reply) override;
  void fillStatusForm(const protocol::LoggerStatus& status) override;
  void showStatusForm() override;
  std::optional<std::string> csvFileName() const override;
  Status appendReadingsLine(const std::string& fileName, const protocol::LoggerStatus& status) override;
  std::string autoAnswerFileName(const protocol::LoggerStatus& status) override;
  Status startDownload(const protocol::LoggerStatus& status) override;

  // ReadingsView
  void readingReceived(std::string_view line) override;
  void readingFailed(std::string_view text) override;
  void readingsEnded() override;

  program::Program& program_;
  link::TickScheduler& ticks_;
  DesktopWindows& windows_;
  std::unique_ptr<SessionPrompter> sessionPromptOwner_;
  SessionPrompter& sessionPrompter_;
  std::unique_ptr<SessionObserver> sessionObserver_;
  // The link port of the exchanges and the auto-answer port, on one device.
  std::unique_ptr<PortShare> share_;
  std::unique_ptr<link::ExchangeEngine> engine_;
  std::unique_ptr<link::StatusReplyFlow> flow_;
  std::unique_ptr<SetupConfigurationSource> configuration_;
  std::unique_ptr<ReceiveAssembly> receive_;
  std::unique_ptr<AnswerView> answerView_;
  std::unique_ptr<AutoAnswer> answer_;
  // The converter and status of the exchange's status reply: the readings
  // of a real-time display go through them.
  std::optional<protocol::UnitConverter> converter_;
  std::optional<protocol::LoggerStatus> readingStatus_;
  bool statusAvailable_ = false;
  bool labelsOnly_ = false;
  std::optional<link::ExchangeOutcome> lastOutcome_;
  bool quitting_ = false;
  std::string phoneBoxText_;
};

// The readings line of a command-line CSV receive: date and time, then a
// separator and the value text of each channel that is on. No line end.
std::string csvReadingsLine(const protocol::LoggerStatus& status, const Clock& clock, char separator = ',');

}  // namespace brevik::program
