#include "ui/t_contact_dlg.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"

namespace brevik::ui {

TContactDlg::TContactDlg(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
  setObjectName("TContactDlg");
  setWindowTitle("Valeurs Etat fermé    ");
  setModal(true);

  auto* grid = new QGridLayout;
  fields_ = ScalePairFields::addTo(*grid, *this, "Ouve:", "Fermé :");
  const DialogButtons buttons = makeDialogButtons(*this);
  connect(buttons.ok, &QPushButton::clicked, this, &TContactDlg::OKBtnClick);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons.row);
}

void TContactDlg::prepare() {
  fields_.clear();
  accepted_.reset();
}

std::optional<setup::ScalePair> TContactDlg::choose() {
  prepare();
  exec();
  return accepted_;
}

void TContactDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  fields_.low->setFocus();
}

void TContactDlg::OKBtnClick() {
  accepted_ = fields_.accepted(prompter_);
  if (accepted_) accept();
}

}  // namespace brevik::ui
