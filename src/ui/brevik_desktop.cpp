#include "ui/brevik_desktop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "platform/qt_tick_scheduler.h"
#include "program/port_choice.h"
#include "ui/desktop_serial_port.h"
#include "ui/desktop_view.h"
#include "ui/help_window.h"
#include "ui/qt_prompter.h"
#include "ui/t_comm_status.h"
#include "ui/t_graph.h"
#include "ui/t_db_list.h"
#include "ui/t_main.h"
#include "ui/t_modem_utilities.h"
#include "ui/t_settings2.h"
#include "ui/t_setup.h"
#include "ui/t_snd_net_addr.h"
#include "ui/t_status.h"
#include "ui/text.h"

#ifndef BREVIK_VERSION
#define BREVIK_VERSION "0"
#endif

namespace brevik::ui {

namespace {

// BREVIK_TRACE=1 writes the exchange trace to stderr, for diagnosing a field link.
class StderrTrace final : public link::TraceSink {
 public:
  void traceLine(std::string_view line) override {
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fputc('\n', stderr);
  }
};

}  // namespace

std::unique_ptr<QDialog> makeAboutBox(QWidget* parent) {
  auto box = std::make_unique<QDialog>(parent);
  box->setObjectName("AboutBox");
  box->setWindowTitle("About Brevik Logger");
  auto* text = new QLabel(QString("<h3>Brevik Logger</h3><p>Version %1</p>"
                                  "<p>The desktop companion of the KALDO field data logger.</p>")
                              .arg(BREVIK_VERSION),
                          box.get());
  text->setObjectName("AboutText");
  auto* ok = new QPushButton("OK", box.get());
  ok->setObjectName("OKBtn");
  QObject::connect(ok, &QPushButton::clicked, box.get(), &QDialog::accept);
  auto* layout = new QVBoxLayout(box.get());
  layout->addWidget(text);
  layout->addWidget(ok, 0, Qt::AlignRight);
  return box;
}

BrevikDesktop::BrevikDesktop(DesktopOptions options, const std::vector<std::string>& positional)
    : options_(std::move(options)) {
  if (options_.clock == nullptr) ownClock_ = std::make_unique<SystemClock>();
  clock_ = options_.clock != nullptr ? options_.clock : ownClock_.get();

  // Settings and globals, then the command line.
  program_ = std::make_unique<program::Program>(options_.home, *clock_);
  program_->applyCommandLine(positional);
  QCoreApplication::setApplicationName(fromCp(program_->globals().applicationTitle));

  if (options_.ticks == nullptr) ownTicks_ = std::make_unique<platform::QtTickScheduler>();
  ticks_ = options_.ticks != nullptr ? options_.ticks : ownTicks_.get();
  if (options_.port == nullptr)
    ownPort_ = std::make_unique<DesktopSerialPort>(options_.home, options_.dataDir / "sim", *ticks_, *clock_);
  port_ = options_.port != nullptr ? options_.port : ownPort_.get();

  // The windows, each once, the main window first.
  comm_ = std::make_unique<TCommStatus>();
  status_ = std::make_unique<TStatus>();
  help_ = std::make_unique<HelpWindow>(options_.dataDir / "help");
  if (options_.prompter == nullptr)
    ownPrompter_ = std::make_unique<QtPrompter>(nullptr, [this](int topic) { help_->showTopic(topic); });
  prompter_ = options_.prompter != nullptr ? options_.prompter : ownPrompter_.get();
  view_ = std::make_unique<QtDesktopView>(*comm_, *status_, [this] { quit(); });
  session_ = std::make_unique<program::DesktopSession>(
      *program_, program::DesktopPorts{*port_, *ticks_, *view_, *prompter_, *view_});

  MainWindowActions actions;
  actions.settings = [this] { openSettings(); };
  actions.help = [this] { help_->showContents(); };
  actions.about = [this] { about_->exec(); };
  actions.saveDataFile = options_.saveDataFile;
  if (!actions.saveDataFile) {
    actions.saveDataFile = [this]() -> std::optional<QString> {
      QFileDialog dlg(main_.get(), "Receive data", QString::fromStdString(program_->home().string()),
                      "KALDO  Logger Data (*.QX1)");
      dlg.setObjectName("SaveDataFileDlg");
      dlg.setAcceptMode(QFileDialog::AcceptSave);
      dlg.setDefaultSuffix("QX1");
      if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
      return dlg.selectedFiles().front();
    };
  }
  main_ = std::make_unique<TMain>(*session_, std::move(actions));
  view_->setMainWindow(main_.get());
  stationAddress_ = std::make_unique<TSndNetAddr>(*session_);
  stationAddress_->setHelpAction([this] { help_->showContents(); });
  stationAddress_->setClosedAction([this] {
    view_->releaseMainWindow();
    view_->showMainWindow();
  });
  view_->setStationAddressWindow(stationAddress_.get());
  about_ = makeAboutBox(main_.get());
  // The setup window before the graph, as the program creates them; it
  // holds the current setup file from now on.
  setup_ = std::make_unique<TSetup>(*session_, options_.fileDialogs, options_.setupDialogs);
  if (!options_.setupDialogs.linearScale)
    setup_->setDialogs(setupDialogsOf(setup_.get(), program_->home(), session_->prompter(), *clock_,
                                      [this] { help_->showContents(); }));
  setup_->setHelpAction([this](int topic) { help_->showTopic(topic); });
  setup_->setClosedAction([this] {
    view_->releaseMainWindow();
    view_->showMainWindow();
    main_->activateWindow();
  });
  view_->setSetupWindow(setup_.get());
  setup_->loadStartupSetup();
  graph_ = std::make_unique<TGraph>(program_->graph(), session_->prompter(), options_.fileDialogs, program_->home());
  graph_->setHelpAction([this](int topic) { help_->showTopic(topic); });
  graph_->setClosedAction([this] {
    view_->releaseMainWindow();
    view_->showMainWindow();
  });
  graph_->setRealTimeClosedAction([this](bool endReadings) {
    session_->realTimeGraphClosed(endReadings);
    // Readings that go on arrive without their communication window.
    if (!endReadings) comm_->hide();
  });
  graph_->setClock([this] { return graph::chartSeconds(clock_->now()); });
  view_->setGraphWindow(graph_.get());
  graph_->loadStartupColors();
  settings_ = std::make_unique<TSettings2>(program_->settings(), session_->prompter(), main_.get());
  settings_->setHelpAction([this] { help_->showPage("settings"); });
  settings_->setPortDescriptions([home = options_.home] {
    std::vector<std::string> texts;
    for (const program::PortDevice& port : program::programPorts(home)) texts.push_back(program::describePort(port));
    return texts;
  });
  settings_->setAcceptedAction([this](const settings::SettingsDialogOutcome& out) {
    if (out.autoAnswer == settings::AutoAnswerChange::Enter) main_->enterAutoAnswer();
    if (out.autoAnswer == settings::AutoAnswerChange::Leave) main_->leaveAutoAnswer();
    main_->update();
  });
  if (!qEnvironmentVariableIsEmpty("BREVIK_TRACE")) {
    trace_ = std::make_unique<StderrTrace>();
    session_->engine().setTraceSink(trace_.get());
  }
  // The modem utilities and the lists, in the order the program creates
  // them; without a parent, so that the main window locked by an exchange
  // does not lock them too.
  comTest_ = std::make_unique<TComTestDlg>(*session_);
  comTest_->setHelpAction([this] { help_->showContents(); });
  remoteModem_ = std::make_unique<TCremote1>(*session_);
  remoteModem_->setHelpAction([this] { help_->showContents(); });
  remoteModems_ = std::make_unique<TDB2>(*session_, program_->home());
  remoteModems_->setHelpAction([this] { help_->showContents(); });
  remoteModems_->setConfigureAction([this] { remoteModem_->openWindow(); });
  phoneList_ = std::make_unique<TDB0>(*session_, program_->home());
  phoneList_->setHelpAction([this] { help_->showContents(); });
  localModems_ = std::make_unique<TDB1>(*session_, program_->home());
  localModems_->setHelpAction([this] { help_->showContents(); });
  view_->setModemWindows({phoneList_.get(), localModems_.get(), remoteModems_.get(), remoteModem_.get(), comTest_.get()});
  comm_->setAbortAction([this] { session_->engine().abort(); });
  status_->setLeaveAction([this](program::StatusFormExit how) { return session_->leaveStatusForm(how); });
  status_->setShowMainAction([this] { view_->showMainWindow(); });
}

BrevikDesktop::~BrevikDesktop() {
  hangUp_.reset();
  // The session stops its exchange before the port and windows go.
  session_.reset();
}

StartMode BrevikDesktop::startMode() const {
  if (program_->quitRequest()) return StartMode::Quit;
  switch (program_->startupAction()) {
    case settings::StartupAction::LogAndQuit: return StartMode::Quit;
    case settings::StartupAction::HangUp: return StartMode::HangUp;
    case settings::StartupAction::SendSetup:
    case settings::StartupAction::ReceiveData:
    case settings::StartupAction::ReceiveCsv: return StartMode::Unattended;
    default: return StartMode::ShowMain;
  }
}

void BrevikDesktop::start() {
  switch (startMode()) {
    case StartMode::Quit:
      quit();
      return;
    case StartMode::HangUp:
      hangUp_ = std::make_unique<program::ModemHangUp>(*port_, *ticks_);
      program::hangUpAndQuit(*hangUp_, program_->settings(), program_->unattendedLog(),
                         [this](settings::QuitRequest request) {
                           program_->requestQuit(request);
                           quit();
                         });
      return;
    case StartMode::Unattended:
      session_->startCommandLineAction();
      return;
    case StartMode::ShowMain:
      main_->show();
      // Settings that read as their defaults are named once, over the main window.
      if (!program_->settingsWarning().empty())
        (void)prompter_->ask(Message{MessageKind::Warning, program_->settingsWarning()});
      if (program_->settings().AutoAnswer != 0) main_->enterAutoAnswer();
      return;
  }
}

bool BrevikDesktop::anyWindowVisible() const {
  return main_->isVisible() || stationAddress_->isVisible() || comm_->isVisible() || status_->isVisible() ||
         settings_->isVisible() || help_->isVisible() || about_->isVisible() || graph_->isVisible() ||
         setup_->isVisible() || comTest_->isVisible() || remoteModem_->isVisible() || remoteModems_->isVisible() ||
         phoneList_->isVisible() || localModems_->isVisible();
}

void BrevikDesktop::quit() {
  if (quitting_) return;
  quitting_ = true;
  if (options_.quit) return options_.quit();
  // Leaving the loop ends the program without the main window's closing.
  QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

void BrevikDesktop::openSettings() { settings_->exec(); }

}  // namespace brevik::ui
