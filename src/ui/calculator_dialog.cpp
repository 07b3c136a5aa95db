#include "ui/calculator_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "protocol/scale_tables.h"
#include "ui/dialog_buttons.h"
#include "ui/text.h"

namespace brevik::ui {

namespace {
constexpr int kEntryLength = 10;
}

std::string entryText(const QLineEdit* field) { return toCp(field->text()); }

CalculatorDialog::CalculatorDialog(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
  setModal(true);
  const auto result = [this](const char* name) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setMaxLength(static_cast<int>(protocol::kScaleNumberWidth));
    field->setMaximumWidth(90);
    return field;
  };
  lowResult_ = result("LoValField");
  highResult_ = result("HiValField");
  calculate_ = new QPushButton(this);
  calculate_->setObjectName("CalcBtn");
  calculate_->setAutoDefault(false);
  connect(calculate_, &QPushButton::clicked, this, &CalculatorDialog::Calculate);
  const DialogButtons buttons = makeDialogButtons(*this);
  connect(buttons.ok, &QPushButton::clicked, this, &CalculatorDialog::OKBtnClick);
  buttonRow_ = buttons.row;
}

QLineEdit* CalculatorDialog::makeEntry(const char* objectName, const QString& text, int decimals) {
  auto* field = new QLineEdit(text, this);
  field->setObjectName(objectName);
  field->setMaxLength(kEntryLength);
  field->setMaximumWidth(110);
  const QRegularExpression number(QString(R"(^ *[-+]?\d*([.,]\d{0,%1})? *$)").arg(decimals));
  field->setValidator(new QRegularExpressionValidator(number, field));
  if (firstEntry_ == nullptr) firstEntry_ = field;
  return field;
}

void CalculatorDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (firstEntry_ != nullptr) firstEntry_->setFocus();
}

bool CalculatorDialog::Calculate() {
  const setup::CalculatorResult result = compute();
  for (const std::string& error : result.errors) prompter_.ask(Message{MessageKind::Error, error, Buttons::Ok, 0});
  if (!result.values) return false;
  lowResult_->setText(fromCp(result.values->low));
  highResult_->setText(fromCp(result.values->high));
  return true;
}

void CalculatorDialog::OKBtnClick() {
  // Entries that give no results keep the dialog open: the scaling dialog
  // never receives numbers that were not calculated from what is shown.
  if (Calculate()) accept();
}

setup::ScalePair CalculatorDialog::results() const {
  return {toCp(lowResult_->text()), toCp(highResult_->text())};
}

std::optional<setup::ScalePair> CalculatorDialog::choose() {
  if (exec() != QDialog::Accepted) return std::nullopt;
  return results();
}

void CalculatorDialog::layOutBesideResults(QFormLayout* entries) {
  auto* results = new QFormLayout;
  results->addRow("ValeurBas", lowResult());
  results->addRow("ValeurHaut", highResult());
  results->addRow(calculateButton());
  auto* columns = new QHBoxLayout;
  columns->addLayout(entries);
  columns->addSpacing(16);
  columns->addLayout(results);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addLayout(buttonRow());
}

}  // namespace brevik::ui
