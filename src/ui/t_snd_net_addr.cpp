#include "ui/t_snd_net_addr.h"

#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "program/desktop_session.h"
#include "program/main_window_rules.h"
#include "ui/up_down_spinner.h"

namespace brevik::ui {

TSndNetAddr::TSndNetAddr(program::DesktopSession& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      field_(new QLineEdit(this)),
      spinner_(new UpDownSpinner("OvcSpinner1", this)),
      send_(new QPushButton("SEND", this)) {
  setObjectName("TSndNetAddr");
  setWindowTitle("Set Station Address (for network)");
  setModal(false);

  const QString hint = "For network communications";
  field_->setObjectName("StationAddrField");
  field_->setValidator(new QIntValidator(0, 255, field_));
  field_->setMaxLength(3);
  field_->setMaximumWidth(60);
  field_->setToolTip(hint);
  field_->setText(QString::number(newAddress_));
  spinner_->setToolTip(hint);
  connect(field_, &QLineEdit::textChanged, this, &TSndNetAddr::StationAddrFieldChange);
  connect(spinner_, &UpDownSpinner::clicked, this, [this](bool up) { step(up ? 1 : -1); });

  send_->setObjectName("SendBtn");
  send_->setDefault(true);
  connect(send_, &QPushButton::clicked, this, &TSndNetAddr::SendBtnClick);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("CancelBtn");
  connect(cancel, &QPushButton::clicked, this, &TSndNetAddr::CancelBtnClick);
  auto* help = new QPushButton("Help", this);
  help->setObjectName("HelpBtn");
  connect(help, &QPushButton::clicked, this, [this] {
    if (help_) help_();
  });

  auto* address = new QHBoxLayout;
  address->addWidget(field_);
  address->addWidget(spinner_);
  address->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(send_);
  buttons->addWidget(cancel);
  buttons->addWidget(help);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(address);
  layout->addLayout(buttons);

  // Cancel, the close box and Escape all end in finished().
  connect(this, &QDialog::finished, this, [this] { windowClosed(); });
}

void TSndNetAddr::StationAddrFieldChange() {
  bool ok = false;
  const int value = field_->text().toInt(&ok);
  // A field being emptied to type a new number keeps the last address.
  if (!ok) return;
  if (value >= 0 && value <= 255) {
    newAddress_ = static_cast<std::uint8_t>(value);
    return;
  }
  // The validator lets three digits above 255 through while typing; the
  // field goes back to the address it holds rather than show another.
  field_->setText(QString::number(newAddress_));
}

void TSndNetAddr::step(int direction) {
  field_->setText(QString::number(program::stepStation(newAddress_, direction)));
}

void TSndNetAddr::SendBtnClick() {
  setEnabled(false);
  // Another exchange holds the line: nothing was sent, the window stays usable.
  if (!session_.sendStationAddress(newAddress_)) setEnabled(true);
}

void TSndNetAddr::CancelBtnClick() { close(); }

void TSndNetAddr::exchangeEnded() {
  setEnabled(true);
  close();
}

void TSndNetAddr::windowClosed() {
  setEnabled(true);
  if (closed_) closed_();
}

}  // namespace brevik::ui
