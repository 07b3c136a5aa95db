#include "program/desktop_session.h"

#include <filesystem>
#include <system_error>

#include "settings/command_line.h"
#include "common/files.h"
#include "phonebook/list_choice.h"
#include "phonebook/name_list.h"
#include "program/hang_up.h"
#include "program/send_setup.h"
#include "program/status_decoding.h"
#include "protocol/channel_tables.h"
#include "protocol/humidity.h"
#include "protocol/reading_line.h"
#include "protocol/status_decode.h"
#include "protocol/vocabulary.h"

namespace brevik::program {

// ---------------------------------------------------------------------------
// In an unattended run nobody is there to answer a message box: the text is
// written to the unattended log and the box counts as closed.

class DesktopSession::SessionPrompter final : public Prompter {
 public:
  SessionPrompter(DesktopSession& session, Prompter& shown) : session_(session), shown_(shown) {}

  Answer ask(const Message& message) override {
    if (!session_.unattended()) return shown_.ask(message);
    session_.logEntry(message.text);
    return answerOfClosedBox(message.buttons);
  }

 private:
  DesktopSession& session_;
  Prompter& shown_;
};

// The communication status window, kept hidden in an unattended run.

class DesktopSession::SessionObserver final : public link::ExchangeObserver {
 public:
  SessionObserver(DesktopSession& session, link::ExchangeObserver& shown) : session_(session), shown_(shown) {}

  void exchangeStarted(const link::ExchangeDisplay& display) override {
    if (!session_.unattended()) shown_.exchangeStarted(display);
  }
  void stepText(std::string_view text) override { shown_.stepText(text); }
  void meter(int percent) override { shown_.meter(percent); }
  void blockCount(std::uint32_t blocks) override { shown_.blockCount(blocks); }
  void abortAvailable(bool available) override { shown_.abortAvailable(available); }
  void exchangeEnded() override { shown_.exchangeEnded(); }
  void downloadFinished() override {
    if (!session_.unattended()) shown_.downloadFinished();
  }

 private:
  DesktopSession& session_;
  link::ExchangeObserver& shown_;
};

// What auto-answer mode shows: aaEditbox and Timer1 on the main window, the
// main window locked while a call is served, and its own lines in the log.
class DesktopSession::AnswerView final : public AutoAnswerView {
 public:
  explicit AnswerView(DesktopSession& session) : session_(session) {}

  void answerText(std::string_view text) override {
    session_.windows_.showAnswerText(text, text != kWaitForConnectText);
  }
  void callServed() override {
    session_.windows_.hideAnswerText();
    session_.program_.globals().linkUp = true;
    session_.windows_.setExchangeRunning(true);
    session_.windows_.refreshMainWindow();
  }
  void callEnded(std::uint64_t) override {
    session_.program_.globals().linkUp = false;
    session_.windows_.setExchangeRunning(session_.engine_->running());
    session_.windows_.refreshMainWindow();
  }
  void logEntry(std::string_view text) override { session_.program_.unattendedLog().entry(text); }

 private:
  DesktopSession& session_;
};

// ---------------------------------------------------------------------------

DesktopSession::DesktopSession(program::Program& program, DesktopPorts ports)
    : program_(program),
      ticks_(ports.ticks),
      windows_(ports.windows),
      sessionPromptOwner_(std::make_unique<SessionPrompter>(*this, ports.prompter)),
      sessionPrompter_(*sessionPromptOwner_),
      sessionObserver_(std::make_unique<SessionObserver>(*this, ports.observer)),
      share_(std::make_unique<PortShare>(ports.port)) {
  engine_ = std::make_unique<link::ExchangeEngine>(
      link::LinkPorts{share_->linkPort(), ports.ticks, *sessionObserver_, sessionPrompter_, *this},
      program_.settings());
  link::StatusReplySteps& steps = *this;
  flow_ = std::make_unique<link::StatusReplyFlow>(*engine_, steps);
  engine_->setStatusReplyHandler(flow_.get());
  engine_->setReadingsView(this);
  configuration_ = std::make_unique<SetupConfigurationSource>(program_.setup().current, program_.settings(),
                                                              engine_->context(), program_.clock());
  engine_->setConfigurationSource(configuration_.get());
  // Data files named without a directory, and the export after a download,
  // belong in the program home.
  receive_ = std::make_unique<ReceiveAssembly>(
      *engine_, *sessionObserver_, program_.clock(), program_.settings(),
      ReceivePlaces{program_.home(), program_.home()},
      [this](std::string_view text, bool exported) { exportTold(text, exported); },
      [this](const std::string& dataFileName) { windows_.openGraphOf(dataFileName); });
  // The phone boxes show the phone book's current entry from the start.
  phoneBoxText_ = program_.settings().PhoneNumber;
  if (!program_.commandLineDialsNumber())
    if (auto phones = phonebook::NameList::open(phonebook::ListKind::Phone, program_.home()))
      phoneBoxText_ = phonebook::phoneBoxText(*phones, program_.settings());
  answerView_ = std::make_unique<AnswerView>(*this);
  answer_ = std::make_unique<AutoAnswer>(share_->answerPort(), ports.ticks, *engine_, program_.settings(),
                                         *answerView_);
}

Prompter& DesktopSession::prompter() { return sessionPrompter_; }

DesktopSession::~DesktopSession() {
  // A call being served ends, and the auto-answer port closes, first.
  answer_->leave();
  answer_.reset();
  engine_->setConfigurationSource(nullptr);
  // The download goes first: an unfinished one drops its partial file.
  receive_.reset();
}

bool DesktopSession::unattended() const {
  switch (program_.startupAction()) {
    case settings::StartupAction::SendSetup:
    case settings::StartupAction::ReceiveData:
    case settings::StartupAction::ReceiveCsv:
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
// Guards and commands

bool DesktopSession::passRealTimeGraphGuard(std::string_view text) {
  if (!context().realTimeGraph) return true;
  const Answer a = sessionPrompter_.ask(
      Message{MessageKind::Information, std::string(text), Buttons::OkCancel, 0});
  if (a != Answer::Ok) return false;
  // The real-time graph ends with its exchange.
  engine_->stop();
  return true;
}

link::RunMode DesktopSession::runMode() const {
  const settings::CommandLineFlags& flags = program_.globals().flags;
  link::RunMode run;
  run.commandLineReceive = flags.receive;
  run.commandLineSetup = flags.setupSend;
  return run;
}

link::OutcomeCallback DesktopSession::outcomeCallback() {
  return [this](const link::ExchangeOutcome& outcome) { exchangeEnded(outcome); };
}

bool DesktopSession::openExchange(bool locksWindows, const std::function<bool(link::OutcomeCallback)>& open) {
  windows_.setExchangeRunning(locksWindows);
  if (open(outcomeCallback())) return true;
  windows_.setExchangeRunning(engine_->running());
  return false;
}

bool DesktopSession::startExchange(link::ExchangeRequest request) {
  // Windows lock their commands while an exchange runs; this is the last word.
  if (engine_->running()) return false;
  request.run = runMode();
  // The real-time graph leaves the main window usable: its commands end the
  // graph first (the real-time guard).
  const bool locks = !request.realTimeGraph;
  return openExchange(locks, [&](link::OutcomeCallback done) {
    engine_->start(std::move(request), std::move(done));
    return true;
  });
}

void DesktopSession::startReceiveExchange(const std::string& fileName) {
  openExchange(true, [&](link::OutcomeCallback done) {
    receive_->startReceive(fileName, runMode(), std::move(done));
    return true;
  });
}

bool DesktopSession::openDataFile() {
  windows_.openWindow(WindowId::GraphOpenFile);
  return true;
}

bool DesktopSession::newSetup() {
  if (!passRealTimeGraphGuard(kRealTimeGraphGuardSetupText)) return false;
  labelsOnly_ = false;
  windows_.openWindow(WindowId::Setup);
  return true;
}

bool DesktopSession::changeScaling() {
  if (!passRealTimeGraphGuard(kRealTimeGraphGuardText)) return false;
  labelsOnly_ = true;
  windows_.openWindow(WindowId::ScalingLabels);
  return true;
}

bool DesktopSession::showLastStatus() {
  if (!statusAvailable_) {
    sessionPrompter_.ask(Message{MessageKind::Information, std::string(kNoStatusYetText), Buttons::Ok, 0});
    return false;
  }
  windows_.showStatusForm();
  return true;
}

bool DesktopSession::stationAddress() {
  if (!passRealTimeGraphGuard(kRealTimeGraphGuardText)) return false;
  if (program_.settings().NetworkMode != 0) {
    sessionPrompter_.ask(Message{MessageKind::Warning, std::string(kSingleLoggerOnlyText), Buttons::Ok, 0});
    return false;
  }
  windows_.openWindow(WindowId::StationAddress);
  return true;
}

bool DesktopSession::sendStationAddress(std::uint8_t newAddress) {
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::StationAddressKind;
  request.newStationAddress = newAddress;
  return startExchange(std::move(request));
}

bool DesktopSession::changeBaud() {
  if (!passRealTimeGraphGuard(kRealTimeGraphGuardText)) return false;
  settings::LoggerSettings& s = program_.settings();
  if (s.UseModem != 0) {
    sessionPrompter_.ask(Message{MessageKind::Information, std::string(kUncheckModemText), Buttons::Ok, 0});
    return false;
  }
  // The logger is told to run at the rate of the settings.
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::ChangeBaud;
  request.targetBaud = s.BaudRate;
  return startExchange(std::move(request));
}

bool DesktopSession::canStartReceive() {
  // No file is asked for while another exchange holds the line.
  if (engine_->running() && !context().realTimeGraph) return false;
  return passRealTimeGraphGuard(kRealTimeGraphGuardText);
}

bool DesktopSession::receiveData(const std::string& fileName) {
  if (settings::upperExtension(fileName) != ".QX1") {
    sessionPrompter_.ask(Message{MessageKind::Error, std::string(kQx1OnlyText), Buttons::Ok, 0});
    return false;
  }
  program_.globals().currentDataFileName = fileName;
  if (!context().realTimeGraph) {
    // The table form of an older download of the same name would no longer
    // match the new data.
    std::filesystem::path qx2(fileName);
    qx2.replace_extension(".QX2");
    std::error_code ec;
    std::filesystem::remove(program_.home() / qx2, ec);
  }
  if (engine_->running()) return false;
  startReceiveExchange(fileName);
  return true;
}

bool DesktopSession::readStatus() {
  if (!passRealTimeGraphGuard(kRealTimeGraphGuardText)) return false;
  return startExchange(link::ExchangeRequest{});
}

bool DesktopSession::realTimeDisplay() {
  if (!passRealTimeGraphGuard(kRealTimeGraphGuardText)) return false;
  if (engine_->running()) return false;
  windows_.hideStatusForm();
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::RealTime;
  return startExchange(std::move(request));
}

bool DesktopSession::realTimeGraph() {
  // A graph that runs already is only shown again; another exchange keeps
  // the line.
  if (context().realTimeGraph) {
    windows_.openWindow(WindowId::RealTimeGraph);
    return true;
  }
  if (engine_->running()) return false;
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::RealTime;
  request.realTimeGraph = true;
  startExchange(std::move(request));
  windows_.openWindow(WindowId::RealTimeGraph);
  return true;
}

void DesktopSession::showGraph() { windows_.openWindow(WindowId::Graph); }
void DesktopSession::openPhoneList() { windows_.openWindow(WindowId::PhoneList); }
void DesktopSession::openLocalModems() { windows_.openWindow(WindowId::LocalModems); }
void DesktopSession::openRemoteModems() { windows_.openWindow(WindowId::RemoteModems); }
void DesktopSession::openComTest() { windows_.openWindow(WindowId::ComTest); }

void DesktopSession::stationFieldChanged(int value) {
  if (value < 0 || value > 255) return;
  program_.settings().StationAddress = static_cast<std::uint8_t>(value);
}

void DesktopSession::hangUp() { hangUpModem(); }

// ---------------------------------------------------------------------------
// Paint and the command-line action

void DesktopSession::painted() {
  settings::CommandLineFlags& flags = program_.globals().flags;
  if (flags.openGraph) {
    flags.openGraph = false;
    windows_.openGraphOf(program_.settings().DataFileName);
  }
  startCommandLineAction();
}

void DesktopSession::startCommandLineAction() {
  settings::CommandLineFlags& flags = program_.globals().flags;
  if (flags.actionStarted) return;
  if (!flags.csv && !flags.setupSend && !flags.receive) return;
  flags.actionStarted = true;
  if (flags.csv) {
    flags.receive = true;
    program_.globals().currentDataFileName = program_.commandLineFile();
    receive_->startTransferTimer();
    startExchange(link::ExchangeRequest{});
  } else if (flags.setupSend) {
    startCommandLineSend();
  } else if (flags.receive) {
    program_.globals().currentDataFileName = program_.commandLineFile();
    startReceiveExchange(program_.globals().currentDataFileName);
  }
}

void DesktopSession::startCommandLineSend() {
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::SendSetup;
  request.dataFileName = program_.globals().currentDataFileName;
  request.run = runMode();
  const bool started = openExchange(true, [&](link::OutcomeCallback done) {
    return sendCommandLineSetupFile(*engine_, program_.setup(), program_.settings().SetupFileName, program_.home(),
                                    program_.clock(), sessionPrompter_, std::move(request), std::move(done));
  });
  if (started) return;
  // A check that stopped the send has been logged; no exchange will end the run.
  if (!quitting_ && unattended()) endUnattendedRun();
}

void DesktopSession::exchangeEnded(const link::ExchangeOutcome& outcome) {
  lastOutcome_ = outcome;
  windows_.setExchangeRunning(engine_->running());
  // The readings that fed the real-time graph are over.
  if (program_.graph().realTime() && !(engine_->running() && context().realTimeGraph)) {
    program_.graph().stopRealTime();
    windows_.realTimeGraphEnded();
  }
  switch (outcome.kind) {
    case link::ExchangeKind::Status:
      if (outcome.scheduleText) {
        windows_.setScheduleText(*outcome.scheduleText);
        if (!unattended()) windows_.showStatusDisplay();
      }
      break;
    case link::ExchangeKind::StationAddressKind:
      windows_.closeStationAddressWindow();
      break;
    case link::ExchangeKind::RemoteModemSetup:
    case link::ExchangeKind::ComTest:
      windows_.modemUtilityEnded(outcome.kind);
      break;
    default:
      break;
  }
  // An unattended run ends with its exchange (unless it ended the program
  // itself through log and quit).
  if (unattended() && !quitting_ && !engine_->running()) endUnattendedRun();
}

void DesktopSession::endUnattendedRun() {
  quitting_ = true;
  program_.requestQuit(settings::QuitRequest{true, false});
  windows_.quitProgram();
}

void DesktopSession::exportTold(std::string_view text, bool exported) {
  // Nobody is there during an answered call: its log entry marks a failed
  // export with FileError. An unattended run's log line already names the
  // data file, so only a failure is worth a word there.
  if (context().autoAnswerCall()) return;
  if (exported && unattended()) return;
  sessionPrompter_.ask(Message{exported ? MessageKind::Information : MessageKind::Error, std::string(text),
                               Buttons::Ok, 0});
}

// ---------------------------------------------------------------------------
// The status form and the real-time display

bool DesktopSession::readingsStream() const {
  const char revision = readingStatus_ ? readingStatus_->revision : context().firmwareLetter;
  return !protocol::revisionSendsReadingsOnRequest(revision);
}

void DesktopSession::endReadings() {
  if (!readingsStream()) {
    engine_->stop();
    return;
  }
  // Waking the logger stops the stream; the engine reports the end.
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::EndRealTime;
  request.run = runMode();
  // It takes over from the readings' exchange, which is still running.
  openExchange(true, [&](link::OutcomeCallback done) {
    engine_->start(std::move(request), std::move(done));
    return true;
  });
}

StatusFormExitOutcome DesktopSession::leaveStatusForm(StatusFormExit how) {
  const link::LinkContext& ctx = context();
  StatusFormExitOutcome out;
  if (ctx.kind != link::ExchangeKind::RealTime) return out;
  const bool streams = readingsStream();
  if (how == StatusFormExit::OkButton) {
    if (streams) {
      endReadings();
      out.closeForm = false;
      out.showMainWindow = false;
      return out;
    }
    if (!ctx.realTimeGraph) engine_->stop();
    return out;
  }
  if (streams) {
    if (!ctx.realTimeGraph) endReadings();
    return out;
  }
  engine_->stop();
  return out;
}

void DesktopSession::realTimeGraphClosed(bool endReadingsNow) {
  if (endReadingsNow && context().realTimeGraph && engine_->running()) endReadings();
}

bool DesktopSession::passSetupSendGuard() { return passRealTimeGraphGuard(kRealTimeGraphGuardSendText); }
bool DesktopSession::sendSetup() {
  if (engine_->running()) return false;
  setup::SetupDocument& document = program_.setup();
  document.form.collect(document.current);
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::SendSetup;
  request.labelsOnly = labelsOnly_;
  request.run = runMode();
  return openExchange(true, [&](link::OutcomeCallback done) {
    return validateAndSend(*engine_, document.current, sessionPrompter_, program_.clock(), false, std::move(request),
                           std::move(done));
  });
}

bool DesktopSession::passRemoteModemGuard() { return passRealTimeGraphGuard(kRealTimeGraphGuardModemText); }
bool DesktopSession::passComTestGuard() { return passRealTimeGraphGuard(kRealTimeGraphGuardText); }

bool DesktopSession::configureRemoteModem() {
  if (!passRemoteModemGuard()) return false;
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::RemoteModemSetup;
  return startExchange(std::move(request));
}

bool DesktopSession::startComTest() {
  if (!passComTestGuard()) return false;
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::ComTest;
  return startExchange(std::move(request));
}

void DesktopSession::phoneEntryChosen(const std::string& name) {
  phoneBoxText_ = name;
  windows_.phoneBoxTextChanged();
  hangUp();
}

void DesktopSession::beforeDialling() {
  // A number given on the command line is dialled as it stands.
  if (program_.commandLineDialsNumber()) return;
  auto phones = phonebook::NameList::open(phonebook::ListKind::Phone, program_.home());
  if (!phones) return;
  if (auto name = phonebook::refreshDialNumber(*phones, program_.settings())) {
    phoneBoxText_ = *name;
    windows_.phoneBoxTextChanged();
  }
}

void DesktopSession::readingReceived(std::string_view line) {
  if (!converter_ || !readingStatus_) return;
  auto update = protocol::decodeReadingLine(line, *readingStatus_, *converter_);
  // A line that passed its checksum but cannot be read leaves the boxes as they were.
  if (!update) return;
  if (context().realTimeGraph) {
    // The graph draws the readings; the value boxes are left alone.
    graph::GraphModel& graph = program_.graph();
    const double now = graph::chartSeconds(program_.clock().now());
    if (!graph.realTime() || graph.realTimeGraph().count() == 0) graph.startRealTime(*readingStatus_, now);
    const graph::RealTimeGraph::Appended appended = graph.appendReading(update->values, now);
    windows_.realTimeGraphReading(appended.first);
    return;
  }
  windows_.setValueTexts(update->texts);
}

void DesktopSession::readingFailed(std::string_view text) { windows_.setReadingError(text); }

void DesktopSession::readingsEnded() {
  if (!unattended()) windows_.showMainWindow();
  windows_.closeRealTimeDisplay();
}

// ---------------------------------------------------------------------------
// ExchangeHost

void DesktopSession::logEntry(std::string_view text) { program_.unattendedLog().entry(text); }

void DesktopSession::logAndQuit(std::string_view text) {
  if (quitting_) return;
  quitting_ = true;
  program_.logAndQuit(text);
  windows_.quitProgram();
}

void DesktopSession::hangUpModem() {
  // A call this program dialled: the DTR pulse, then the port closes.
  if (context().linkUp && !context().autoAnswerCall() && !engine_->running()) {
    hangUpCall(*engine_, share_->linkPort(), ticks_, [this] {
      program_.globals().linkUp = false;
      windows_.refreshMainWindow();
    });
    return;
  }
  engine_->setCallUp(false);
  program_.globals().linkUp = false;
  windows_.refreshMainWindow();
}

void DesktopSession::autoAnswerHangUp() {
  program_.globals().linkUp = false;
  answer_->callOver();
}

void DesktopSession::modemCallConnected() {
  program_.globals().linkUp = true;
  windows_.refreshMainWindow();
}

bool DesktopSession::hangUpBeforeClosing(std::function<void()> then) {
  switch (answer_->state()) {
    case AutoAnswerState::Delay:
    case AutoAnswerState::Serving:
    case AutoAnswerState::HangingUp:
      answer_->stopAfterHangUp(std::move(then));
      return true;
    default:
      break;
  }
  if (!context().linkUp || context().autoAnswerCall() || engine_->running()) return false;
  hangUpCall(*engine_, share_->linkPort(), ticks_, [this, then = std::move(then)] {
    program_.globals().linkUp = false;
    if (then) then();
  });
  return true;
}

void DesktopSession::enterAutoAnswer() { answer_->enter(); }

void DesktopSession::leaveAutoAnswer() {
  answer_->leave();
  windows_.hideAnswerText();
  windows_.setExchangeRunning(engine_->running());
}

// ---------------------------------------------------------------------------
// StatusReplySteps

protocol::StatusDecodeResult DesktopSession::decode(std::string_view reply) {
  settings::LoggerSettings& s = program_.settings();
  protocol::StatusDecodeResult result = decodeStatusInHome(reply, s, program_.home(), program_.clock());
  if (result.newLastModelCode) {
    const settings::MemoryGeometry g = settings::memoryGeometryOf(s.LastModelCode);
    program_.globals().memoryCapacity = g.capacity;
    program_.globals().fullScale = g.fullScale;
  }
  if (result.accepted()) {
    converter_ = result.converter;
    readingStatus_ = result.status;
  }
  return result;
}

void DesktopSession::fillStatusForm(const protocol::LoggerStatus& status) {
  settings::LoggerSettings& s = program_.settings();
  const protocol::StatusForm form =
      protocol::buildStatusForm(status, protocol::StatusTextSettings{s.TwelveHourClock != 0});
  if (form.lastModelCodeOnShow) s.LastModelCode = static_cast<std::uint8_t>(*form.lastModelCodeOnShow);
  const link::LinkContext& ctx = context();
  windows_.fillStatusForm(form, ctx.kind == link::ExchangeKind::RealTime && !ctx.realTimeGraph);
  windows_.setIdentificationDigits(engine_->identificationDigits());
  statusAvailable_ = true;
  // A set-up sent later in this run is built for this logger's firmware.
  const auto& last = flow_->lastStatus();
  configuration_->setLastStatus(last ? &*last : nullptr);
}

void DesktopSession::showStatusForm() {
  // Nobody watches an answered call: its status goes to the form's texts
  // (DernierEtat shows it), never up on a PC left answering for weeks.
  if (!unattended() && !context().autoAnswerCall()) windows_.showStatusForm();
}

std::optional<std::string> DesktopSession::csvFileName() const {
  if (!program_.globals().flags.csv) return std::nullopt;
  return program_.commandLineFile();
}

Status DesktopSession::appendReadingsLine(const std::string& fileName, const protocol::LoggerStatus& status) {
  const std::filesystem::path path = program_.home() / std::filesystem::path(fileName);
  const std::string line = csvReadingsLine(status, program_.clock()) + "\r\n";
  return files::appendToFile(path, line);
}

std::string DesktopSession::autoAnswerFileName(const protocol::LoggerStatus& status) {
  return answeredCallFileName(status.session, program_.settings(), program_.home());
}

Status DesktopSession::startDownload(const protocol::LoggerStatus& status) {
  return receive_->startDownload(status);
}

// ---------------------------------------------------------------------------

std::string csvReadingsLine(const protocol::LoggerStatus& status, const Clock& clock, char separator) {
  const DateTime now = clock.now();
  std::string line = clock.shortDate(now) + " " + clock.longTime(now);
  for (int channel = 0; channel < protocol::kChannelCount; ++channel) {
    if ((status.channelBits & (1u << channel)) == 0) continue;
    line += separator;
    line += protocol::channelValueText(status, channel + 1);
  }
  return line;
}

}  // namespace brevik::program
