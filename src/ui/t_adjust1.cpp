#include "ui/t_adjust1.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/text.h"

namespace brevik::ui {

namespace {

QGroupBox* pairGroup(QWidget* owner, const char* name, const QString& title, const QString& firstLabel,
                     QLineEdit* first, const QString& secondLabel, QLineEdit* second) {
  auto* group = new QGroupBox(title, owner);
  group->setObjectName(name);
  auto* form = new QFormLayout(group);
  form->addRow(firstLabel, first);
  form->addRow(secondLabel, second);
  return group;
}

}  // namespace

TAdjust1::TAdjust1(const std::string& linearItemText, Prompter& prompter, QWidget* parent)
    : CalculatorDialog(prompter, parent) {
  setObjectName("TAdjust1");
  setWindowTitle("Calibration Echelle  ");
  const setup::OldScale old = setup::oldScaleOfItem(linearItemText);
  // The old numbers are six characters and may carry four decimals.
  oldLow_ = makeEntry("OldLoValField", fromCp(old.low).trimmed(), 5);
  oldHigh_ = makeEntry("OldHiValField", fromCp(old.high).trimmed(), 5);
  lowLogger_ = makeEntry("LoLoggerField");
  lowTrue_ = makeEntry("LoTrueField");
  highLogger_ = makeEntry("HiLoggerField");
  highTrue_ = makeEntry("HiTrueField");
  calculateButton()->setText("Calculate");

  auto* note = new QLabel("Saisir 2 points éloignés pour obtenir une meilleure précision. ", this);
  note->setObjectName("NoteLabel");
  note->setWordWrap(true);

  auto* grid = new QGridLayout;
  grid->addWidget(pairGroup(this, "AncienEchel", "AncienEchel", "Bas", oldLow_, "Haut", oldHigh_), 0, 0);
  grid->addWidget(pairGroup(this, "NleEchelle", "Nle Echelle", "Bas", lowResult(), "Haut", highResult()), 0, 1);
  grid->addWidget(
      pairGroup(this, "ValBasLue", "Val.Bas Lue", "Logger", lowLogger_, "Vraie", lowTrue_), 1, 0);
  grid->addWidget(
      pairGroup(this, "ValHautLue", "Val.Haut lue", "Logger", highLogger_, "Vraie", highTrue_), 1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note);
  layout->addLayout(grid);
  auto* calculateRow = new QHBoxLayout;
  calculateRow->addStretch();
  calculateRow->addWidget(calculateButton());
  layout->addLayout(calculateRow);
  layout->addLayout(buttonRow());
}

setup::CalculatorResult TAdjust1::compute() const {
  setup::CalibrationEntries e;
  e.oldLow = entryText(oldLow_);
  e.oldHigh = entryText(oldHigh_);
  e.lowLogger = entryText(lowLogger_);
  e.lowTrue = entryText(lowTrue_);
  e.highLogger = entryText(highLogger_);
  e.highTrue = entryText(highTrue_);
  return setup::calibrate(e);
}

}  // namespace brevik::ui
