#include "ui/t_comm_status.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace brevik::ui {

TCommStatus::TCommStatus(QWidget* parent)
    : QDialog(parent),
      label1_(new QLabel("Etat  :", this)),
      statusBox_(new QLineEdit(this)),
      comMeter_(new QProgressBar(this)),
      blockCountLabel_(new QLabel("Block Number", this)),
      blockCountField_(new QLineEdit(this)),
      udaFile_(new QLabel(this)),
      abortBtn_(new QPushButton("Abort", this)) {
  setObjectName("TCommStatus");
  setWindowTitle(QString::fromUtf8("LiaisonSéri"));
  setModal(false);
  label1_->setObjectName("Label1");
  statusBox_->setObjectName("StatusBox");
  statusBox_->setReadOnly(true);
  statusBox_->setMinimumWidth(360);
  comMeter_->setObjectName("ComMeter");
  comMeter_->setRange(0, 100);
  comMeter_->setValue(0);
  blockCountLabel_->setObjectName("BlockCountLabel");
  blockCountField_->setObjectName("BlockCountField");
  blockCountField_->setReadOnly(true);
  udaFile_->setObjectName("udaFile");
  abortBtn_->setObjectName("AbortBtn");
  abortBtn_->hide();
  connect(abortBtn_, &QPushButton::clicked, this, &TCommStatus::AbortBtnClick);

  auto* grid = new QGridLayout(this);
  grid->addWidget(label1_, 0, 0);
  grid->addWidget(statusBox_, 0, 1, 1, 3);
  grid->addWidget(comMeter_, 1, 0, 1, 4);
  grid->addWidget(blockCountLabel_, 2, 0);
  grid->addWidget(blockCountField_, 2, 1);
  grid->addWidget(udaFile_, 2, 2);
  grid->addWidget(abortBtn_, 2, 3);
  setBlockCountVisible(false);
}

void TCommStatus::setStatusText(const QString& text) { statusBox_->setText(text); }

void TCommStatus::setMeter(int percent) { comMeter_->setValue(std::clamp(percent, 0, 100)); }

void TCommStatus::setMeterVisible(bool visible) { comMeter_->setVisible(visible); }

void TCommStatus::setBlockCountVisible(bool visible) {
  blockCountLabel_->setVisible(visible);
  blockCountField_->setVisible(visible);
}

void TCommStatus::setBlockCount(unsigned blocks) { blockCountField_->setText(QString::number(blocks)); }

void TCommStatus::setDataFileText(const QString& name) { udaFile_->setText(name); }

void TCommStatus::setAbortVisible(bool visible) { abortBtn_->setVisible(visible); }

void TCommStatus::setAbortEnabled(bool enabled) { abortBtn_->setEnabled(enabled); }

void TCommStatus::AbortBtnClick() {
  if (abortAction_) abortAction_();
}

void TCommStatus::closeEvent(QCloseEvent* event) {
  // The window belongs to the exchange: it goes when the exchange ends, and
  // the way to stop one is AbortBtn.
  event->ignore();
}

}  // namespace brevik::ui
