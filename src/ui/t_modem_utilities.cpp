#include "ui/t_modem_utilities.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "program/desktop_session.h"
#include "ui/dialog_buttons.h"

namespace brevik::ui {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  return b;
}

// The instructions, one label a line, named InstructionN from 1.
void addInstructions(QVBoxLayout* layout, QWidget* parent, const QStringList& lines) {
  int n = 0;
  for (const QString& line : lines) {
    auto* label = new QLabel(line, parent);
    label->setObjectName(QString("Instruction%1").arg(++n));
    layout->addWidget(label);
  }
}

}  // namespace

TCremote1::TCremote1(program::DesktopSession& session, QWidget* parent)
    : QDialog(parent), session_(session), baud_(new QLineEdit(this)), port_(new QLineEdit(this)) {
  setObjectName("TCremote1");
  setWindowTitle("Configure Remote Modem");
  setWindowModality(Qt::ApplicationModal);

  baud_->setObjectName("Edit2");
  port_->setObjectName("Edit1");
  for (QLineEdit* e : {baud_, port_}) {
    e->setReadOnly(true);
    e->setMaximumWidth(90);
  }
  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel("Baud", this), 0, 0);
  fields->addWidget(baud_, 0, 1);
  fields->addWidget(new QLabel("Port", this), 1, 0);
  fields->addWidget(port_, 1, 1);
  fields->setColumnStretch(2, 1);

  auto* configure = button(this, "ConfigureBtn", QString::fromUtf8("Exécute"));
  configure->setDefault(true);
  auto* exit = button(this, "OKBtn", "Exit");
  auto* help = button(this, "HelpBtn", "Help");
  connect(configure, &QPushButton::clicked, this, &TCremote1::ConfigureBtnClick);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  connect(help, &QPushButton::clicked, this, [this] {
    if (help_) help_();
  });

  auto* layout = new QVBoxLayout(this);
  addInstructions(layout, this,
                  {"All modems must be configured at the same baud rate.",
                   "1. Using a suitable cable, connect remote modem to",
                   QString::fromUtf8("com port.  (Configurer Port et Fréq.Bauds)."),
                   "2. Click Proceed to initialize modem with setup string."});
  layout->addLayout(fields);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(configure);
  buttons->addWidget(exit);
  buttons->addWidget(help);
  layout->addLayout(buttons);
}

void TCremote1::openWindow() {
  const auto& s = session_.program().settings();
  baud_->setText(QString::number(s.BaudRate));
  port_->setText(QString("Com%1").arg(s.PortNumber));
  setEnabled(true);
  show();
  raise();
  activateWindow();
}

void TCremote1::ConfigureBtnClick() {
  setEnabled(false);
  if (!session_.configureRemoteModem()) setEnabled(true);
}

void TCremote1::exchangeEnded() { setEnabled(true); }

TComTestDlg::TComTestDlg(program::DesktopSession& session, QWidget* parent) : QDialog(parent), session_(session) {
  setObjectName("TComTestDlg");
  setWindowTitle("Test de Communication Cable& Port");
  setWindowModality(Qt::ApplicationModal);

  auto* test = button(this, "ComTestBtn", "Test");
  const DialogButtons buttons = makeDialogButtons(*this, [this] {
    if (help_) help_();
  });
  // Test, not OK, answers Enter here.
  buttons.ok->setDefault(false);
  test->setDefault(true);
  connect(test, &QPushButton::clicked, this, &TComTestDlg::ComTestBtnClick);
  connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  addInstructions(layout, this,
                  {"1. Connecter le cable liaison au  port", "choisi dans V/config.",
                   QString::fromUtf8("2. Relierl'extremité du jack RS au pole milieu  "),
                   "pour ceci utiliser une trobone par Ex. .", "3. Cliquer / bouton Test."});
  buttons.row->insertWidget(0, test);
  layout->addLayout(buttons.row);
}

void TComTestDlg::openWindow() {
  setEnabled(true);
  show();
  raise();
  activateWindow();
}

void TComTestDlg::ComTestBtnClick() {
  setEnabled(false);
  if (!session_.startComTest()) setEnabled(true);
}

void TComTestDlg::exchangeEnded() { setEnabled(true); }

}  // namespace brevik::ui
