#include "ui/t_main.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "program/main_window_rules.h"
#include "ui/text.h"

namespace brevik::ui {

TMain::TMain(program::DesktopSession& session, MainWindowActions actions, QWidget* parent)
    : QMainWindow(parent), session_(session), actions_(std::move(actions)) {
  setObjectName("TMain");
  buildMenus();
  buildControls();
  // FormCreate
  setWindowTitle(fromCp(session_.program().globals().productTitle) + " Setup");
  setCursor(Qt::WaitCursor);
  // The mode shows from the start; its port is prepared once the program
  // shows this window (BrevikDesktop::start), never in an "h", "s" or "r" run.
  showAutoAnswerMode(session_.program().settings().AutoAnswer != 0);
  resize(560, 200);
}

QMenu* TMain::menu(const char* name, const QString& caption) {
  QMenu* m = menuBar()->addMenu(caption);
  m->setObjectName(name);
  m->menuAction()->setObjectName(QString(name) + "Menu");
  return m;
}

QAction* TMain::item(QMenu* m, const char* name, const QString& caption, void (TMain::*handler)(),
                     const QKeySequence& shortcut) {
  QAction* a = m != nullptr ? m->addAction(caption) : menuBar()->addAction(caption);
  a->setObjectName(name);
  if (!shortcut.isEmpty()) {
    a->setShortcut(shortcut);
    // Top-level items of the menu bar keep their shortcut with the window.
    addAction(a);
  }
  if (handler != nullptr) connect(a, &QAction::triggered, this, handler);
  return a;
}

void TMain::buildMenus() {
  QMenu* file = menu("MMFile", "&Fichi.");
  item(file, "Open1", "&Graph", &TMain::Data1Click);
  item(file, "OpenSetup1", "&Confi", &TMain::NewSetup1Click);
  item(file, "Showlaststatus1", "&DernierEtat", &TMain::Showlaststatus1Click, QKeySequence("Ctrl+L"));
  item(file, "MMExit", "E&xit", &TMain::MMExitClick);

  QMenu* send = menu("Send", "&Envoyer");
  item(send, "MMSetup", "&Confi", &TMain::NewSetup1Click);
  item(send, "StaAddr", "Station &Adresse", &TMain::StaAddrClick);
  item(send, "ChangeScaling1", "Echelle / &Labels", &TMain::ChangeScaling1Click);
  item(send, "Baudrate1", QString::fromUtf8("MàJ.Kaldo &Baud Fréq"), &TMain::Baudrate1Click);

  QMenu* receive = menu("ReceivefromLogger1", "&Recevoir  ");
  item(receive, "DataFile1", "&Data", &TMain::DataFile1Click, QKeySequence("Ctrl+D"));
  item(receive, "Status1", "&Etat  ", &TMain::Status1Click, QKeySequence("Ctrl+S"));
  item(receive, "RealTimeDisplay1", QString::fromUtf8("Temps&Réel"), &TMain::RealTimeDisplay1Click,
       QKeySequence("Ctrl+T"));
  item(receive, "RealTimeGraph1", QString::fromUtf8("&GraphTempsRéel "), &TMain::RealTimeGraph1Click,
       QKeySequence("Ctrl+R"));

  graph1_ = item(nullptr, "Graph1", "&Graph   ", &TMain::Graph1Click, QKeySequence("Ctrl+G"));
  item(nullptr, "MainSettings", "L&iaison RS ", &TMain::MainSettingsClick);

  QMenu* modem = menu("Modem1", QString::fromUtf8("&Téléphone"));
  item(modem, "EditPhoneList1", QString::fromUtf8("&Liste Tél."), &TMain::EditPhoneList1Click);
  item(modem, "SelectLocal1", "&Modem local", &TMain::SelectLocal1Click);
  item(modem, "ConfigureRemote1", "&Modem Site  ", &TMain::ConfigureRemote1Click);

  QAction* terminal = item(nullptr, "Terminal1", "Terminal", nullptr);
  terminal->setVisible(false);

  QMenu* utilities = menu("Utilities1", "&Utilitaires");
  item(utilities, "ComTest1", "Com &Test", &TMain::ComTest1Click);

  QMenu* help = menu("Help1", "&Help   ");
  item(help, "Contents1", "&Contents", &TMain::Contents1Click);
  item(help, "About1", "&Ver. ", &TMain::About1Click);

  lockedMenus_ = {file, send, receive, modem, utilities};
}

void TMain::buildControls() {
  auto* central = new QWidget(this);
  central->setObjectName("MainPanel");
  auto* layout = new QVBoxLayout(central);

  netBevel_ = new QFrame(central);
  netBevel_->setObjectName("NetBevelMain");
  netBevel_->setFrameShape(QFrame::Panel);
  netBevel_->setFrameShadow(QFrame::Sunken);
  auto* net = new QHBoxLayout(netBevel_);
  netLabel_ = new QLabel("Station", netBevel_);
  netLabel_->setObjectName("NetLabelMain");
  netField_ = new QLineEdit(netBevel_);
  netField_->setObjectName("NetFieldMain");
  netField_->setValidator(new QIntValidator(0, 255, netField_));
  netField_->setMaxLength(3);
  netField_->setMaximumWidth(60);
  netSpin_ = new QWidget(netBevel_);
  netSpin_->setObjectName("NetSpinMain");
  auto* spin = new QVBoxLayout(netSpin_);
  spin->setContentsMargins(0, 0, 0, 0);
  spin->setSpacing(0);
  auto* up = new QToolButton(netSpin_);
  up->setObjectName("NetSpinMainUp");
  up->setArrowType(Qt::UpArrow);
  auto* down = new QToolButton(netSpin_);
  down->setObjectName("NetSpinMainDown");
  down->setArrowType(Qt::DownArrow);
  spin->addWidget(up);
  spin->addWidget(down);
  connect(up, &QToolButton::clicked, this, [this] { stepStation(1); });
  connect(down, &QToolButton::clicked, this, [this] { stepStation(-1); });
  connect(netField_, &QLineEdit::textEdited, this, &TMain::NetFieldMainChange);
  net->addWidget(netLabel_);
  net->addWidget(netField_);
  net->addWidget(netSpin_);
  net->addStretch();

  phoneBevel_ = new QFrame(central);
  phoneBevel_->setObjectName("PhoneBevelMain");
  phoneBevel_->setFrameShape(QFrame::Panel);
  phoneBevel_->setFrameShadow(QFrame::Sunken);
  auto* phone = new QHBoxLayout(phoneBevel_);
  phoneLabel_ = new QLabel("Phone", phoneBevel_);
  phoneLabel_->setObjectName("PhoneLabelMain");
  phoneBox_ = new QLineEdit(phoneBevel_);
  phoneBox_->setObjectName("PhoneBox");
  phoneBox_->setReadOnly(true);
  phoneBox_->installEventFilter(this);
  phone->addWidget(phoneLabel_);
  phone->addWidget(phoneBox_);

  modemPanel_ = new QFrame(central);
  modemPanel_->setObjectName("ModemPanel");
  modemPanel_->setFrameShape(QFrame::StyledPanel);
  auto* modem = new QHBoxLayout(modemPanel_);
  auto* modemLabel = new QLabel("Modem", modemPanel_);
  modemLabel->setObjectName("Label1");
  hangUpBtn_ = new QPushButton("Hang up", modemPanel_);
  hangUpBtn_->setObjectName("HangUpBtn");
  connect(hangUpBtn_, &QPushButton::clicked, this, &TMain::HangUpBtnClick);
  modem->addWidget(modemLabel);
  modem->addWidget(hangUpBtn_);

  autoAnswerLbl_ = new QLabel("Auto Answer Mode Active", central);
  autoAnswerLbl_->setObjectName("AutoAnswerLbl");
  aaEditbox_ = new QLineEdit(central);
  aaEditbox_->setObjectName("aaEditbox");
  aaEditbox_->setReadOnly(true);

  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setInterval(1000);
  connect(timer1_, &QTimer::timeout, this, &TMain::Timer1Timer);

  layout->addWidget(netBevel_);
  layout->addWidget(phoneBevel_);
  layout->addWidget(modemPanel_);
  layout->addWidget(autoAnswerLbl_);
  layout->addWidget(aaEditbox_);
  layout->addStretch();
  setCentralWidget(central);
}

// ---------------------------------------------------------------------------
// Auto-answer mode

void TMain::showAutoAnswerMode(bool on) {
  // The menus themselves are disabled, not only their entries in the bar: a
  // menu re-enables its entry when the window comes back after an exchange.
  for (QMenu* m : lockedMenus_) {
    m->setEnabled(!on);
    m->menuAction()->setEnabled(!on);
  }
  graph1_->setEnabled(!on);
  phoneBox_->setEnabled(!on);
  netField_->setEnabled(!on);
  netSpin_->setEnabled(!on);
  hangUpBtn_->setEnabled(!on);
  autoAnswerLbl_->setVisible(on);
  aaEditbox_->setVisible(on);
  if (!on) timer1_->stop();
}

void TMain::enterAutoAnswer() {
  showAutoAnswerMode(true);
  session_.enterAutoAnswer();
}

void TMain::leaveAutoAnswer() {
  session_.leaveAutoAnswer();
  showAutoAnswerMode(false);
}

void TMain::showAnswerText(const QString& text, bool timer1Runs) {
  aaEditbox_->setText(text);
  aaEditbox_->show();
  if (timer1Runs) timer1_->start();
  else timer1_->stop();
}

void TMain::hideAnswerText() {
  aaEditbox_->hide();
  timer1_->stop();
}

// The five seconds are counted by the auto-answer model in the link's ticks;
// Timer1 runs meanwhile so that the window shows the delay is on.
void TMain::Timer1Timer() {}

// ---------------------------------------------------------------------------
// Paint

void TMain::paintEvent(QPaintEvent* event) {
  QMainWindow::paintEvent(event);
  // The rules change visibility and may start an exchange that asks
  // questions: they run after the paint, not inside it.
  if (!paintQueued_) {
    paintQueued_ = true;
    QTimer::singleShot(0, this, [this] {
      paintQueued_ = false;
      applyPaintRules();
    });
  }
}

void TMain::applyPaintRules() {
  ++paintCount_;
  program::Program& program = session_.program();
  // The caption loses the " Setup" it had while starting and shows the
  // product title; it is set only when it differs, so a repaint changes nothing.
  const QString title = fromCp(program.globals().productTitle);
  if (windowTitle() != title) setWindowTitle(title);
  // Station controls in network mode (and the modem panel there while the
  // link is up), the phone controls with a modem: each is shown, hidden or
  // filled only when it must change, so the rules never ask for another paint.
  const program::MainWindowLook look = program::mainWindowLook(program.settings(), session_.context().linkUp);
  for (QWidget* w : {static_cast<QWidget*>(netBevel_), static_cast<QWidget*>(netLabel_),
                     static_cast<QWidget*>(netField_), netSpin_})
    if (w->isVisibleTo(this) != look.stationControls) w->setVisible(look.stationControls);
  if (look.stationControls) {
    // A field being typed into already holds the address (NetFieldMainChange).
    bool ok = false;
    const int typed = netField_->text().toInt(&ok);
    if (!ok || typed != look.station) netField_->setText(QString::number(look.station));
  }
  if (modemPanel_->isVisibleTo(this) != look.modemPanel) modemPanel_->setVisible(look.modemPanel);
  for (QWidget* w : {static_cast<QWidget*>(phoneBevel_), static_cast<QWidget*>(phoneLabel_),
                     static_cast<QWidget*>(phoneBox_)})
    if (w->isVisibleTo(this) != look.phoneControls) w->setVisible(look.phoneControls);
  const QString phone = fromCp(session_.phoneBoxText());
  if (phoneBox_->text() != phone) phoneBox_->setText(phone);
  // The window is drawn: the hourglass of start-up goes, and the session
  // may now open the graph or start the command line's action.
  unsetCursor();
  session_.painted();
}

// ---------------------------------------------------------------------------
// Commands

void TMain::Data1Click() { session_.openDataFile(); }
void TMain::NewSetup1Click() { session_.newSetup(); }
void TMain::ChangeScaling1Click() { session_.changeScaling(); }
void TMain::Showlaststatus1Click() { session_.showLastStatus(); }
void TMain::StaAddrClick() { session_.stationAddress(); }
void TMain::Baudrate1Click() { session_.changeBaud(); }
void TMain::Status1Click() { session_.readStatus(); }
void TMain::RealTimeDisplay1Click() { session_.realTimeDisplay(); }
void TMain::RealTimeGraph1Click() { session_.realTimeGraph(); }
void TMain::Graph1Click() { session_.showGraph(); }
void TMain::EditPhoneList1Click() { session_.openPhoneList(); }
void TMain::PhoneBoxClick() { session_.openPhoneList(); }
void TMain::SelectLocal1Click() { session_.openLocalModems(); }
void TMain::ConfigureRemote1Click() { session_.openRemoteModems(); }
void TMain::ComTest1Click() { session_.openComTest(); }
void TMain::HangUpBtnClick() { session_.hangUp(); }

void TMain::DataFile1Click() {
  if (!session_.canStartReceive()) return;
  if (!actions_.saveDataFile) return;
  const std::optional<QString> chosen = actions_.saveDataFile();
  if (!chosen) return;
  session_.receiveData(toCp(*chosen));
}

void TMain::MainSettingsClick() {
  if (actions_.settings) actions_.settings();
  update();
}

void TMain::Contents1Click() {
  if (actions_.help) actions_.help();
}

void TMain::About1Click() {
  if (actions_.about) actions_.about();
}

void TMain::MMExitClick() { close(); }

void TMain::NetFieldMainChange() {
  bool ok = false;
  const int value = netField_->text().toInt(&ok);
  if (ok) session_.stationFieldChanged(value);
}

void TMain::stepStation(int step) {
  const std::uint8_t next = program::stepStation(session_.program().settings().StationAddress, step);
  netField_->setText(QString::number(next));
  NetFieldMainChange();
}

bool TMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == phoneBox_ && event->type() == QEvent::MouseButtonRelease && phoneBox_->isEnabled()) {
    PhoneBoxClick();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMain::closeEvent(QCloseEvent* event) {
  // A modem call is hung up first; the window closes once it is.
  if (!hangingUp_ && session_.hangUpBeforeClosing([this] {
        hangingUp_ = false;
        close();
      })) {
    hangingUp_ = true;
    event->ignore();
    return;
  }
  if (hangingUp_) {
    event->ignore();
    return;
  }
  // FormClose: the fast protocol rule and the settings saved.
  if (Status saved = session_.program().saveAtShutdown(); !saved)
    session_.prompter().ask(Message{MessageKind::Error, saved.error().message, Buttons::Ok, 0});
  session_.hangUp();
  event->accept();
}

}  // namespace brevik::ui
