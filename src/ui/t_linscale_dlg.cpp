#include "ui/t_linscale_dlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"
#include "ui/t_adjust1.h"
#include "ui/t_cloop.h"
#include "ui/t_lin_tran.h"
#include "ui/text.h"

namespace brevik::ui {

TLinscaleDlg::TLinscaleDlg(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
  setObjectName("TLinscaleDlg");
  setWindowTitle("Nlle Echel.Linéa");
  setModal(true);

  auto* grid = new QGridLayout;
  fields_ = ScalePairFields::addTo(*grid, *this, "Val. Bas:", "Val.Haut:");

  auto* calculators = new QGroupBox("Calculer ", this);
  calculators->setObjectName("CalcGroup");
  auto* calculatorColumn = new QVBoxLayout(calculators);
  const auto calculatorButton = [&](const char* name, const QString& caption, void (TLinscaleDlg::*click)()) {
    auto* b = new QPushButton(caption, calculators);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, click);
    calculatorColumn->addWidget(b);
  };
  calculatorButton("CLBtn", "Boucle mA   ", &TLinscaleDlg::CLBtnClick);
  calculatorButton("LTBtn", "Capteur linéaire ", &TLinscaleDlg::LTBtnClick);
  calculatorButton("AdjustBtn", "Calib.Echel.", &TLinscaleDlg::AdjustBtnClick);

  const DialogButtons buttons = makeDialogButtons(*this);
  connect(buttons.ok, &QPushButton::clicked, this, &TLinscaleDlg::OKBtnClick);

  auto* top = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addLayout(grid);
  left->addStretch();
  top->addLayout(left);
  top->addWidget(calculators);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons.row);
}

void TLinscaleDlg::prepare(const std::string& linearItemText) {
  linearItemText_ = linearItemText;
  fields_.clear();
  accepted_.reset();
}

std::optional<setup::ScalePair> TLinscaleDlg::choose(const std::string& linearItemText) {
  prepare(linearItemText);
  exec();
  return accepted_;
}

void TLinscaleDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  fields_.low->setFocus();
}

void TLinscaleDlg::OKBtnClick() {
  accepted_ = fields_.accepted(prompter_);
  if (accepted_) accept();
}

void TLinscaleDlg::fill(const std::optional<setup::ScalePair>& results) {
  if (!results) return;
  fields_.low->setText(fromCp(results->low));
  fields_.high->setText(fromCp(results->high));
}

void TLinscaleDlg::CLBtnClick() {
  TCloop calculator(prompter_, this);
  fill(calculator.choose());
}

void TLinscaleDlg::LTBtnClick() {
  TLinTran calculator(prompter_, this);
  fill(calculator.choose());
}

void TLinscaleDlg::AdjustBtnClick() {
  TAdjust1 calculator(linearItemText_, prompter_, this);
  fill(calculator.choose());
}

}  // namespace brevik::ui
