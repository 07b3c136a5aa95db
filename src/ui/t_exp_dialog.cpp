#include "ui/t_exp_dialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"

namespace brevik::ui {

TExpDialog::TExpDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("TExpDialog");
  setWindowTitle("Export");
  setModal(true);

  auto* group = new QGroupBox("TypeFichi", this);
  group->setObjectName("TypeFichi");
  type_ = new QButtonGroup(group);
  auto* groupLayout = new QVBoxLayout(group);
  const char* items[] = {"ASCII", "Graphic"};
  for (int i = 0; i < 2; ++i) {
    auto* r = new QRadioButton(items[i], group);
    r->setObjectName(QString("TypeFichi_%1").arg(i));
    type_->addButton(r, i);
    groupLayout->addWidget(r);
  }
  type_->button(0)->setChecked(true);

  const DialogButtons buttonRow = makeDialogButtons(*this);
  connect(buttonRow.ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttonRow.row);
  setMinimumWidth(240);
}

void TExpDialog::showEvent(QShowEvent* event) {
  type_->button(0)->setChecked(true);
  QDialog::showEvent(event);
}

ExportKind TExpDialog::kind() const { return type_->checkedId() == 1 ? ExportKind::Graphic : ExportKind::Ascii; }

std::optional<ExportKind> TExpDialog::choose() {
  if (exec() != QDialog::Accepted) return std::nullopt;
  return kind();
}

}  // namespace brevik::ui
