#include "ui/t_lin_tran.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "ui/text.h"

namespace brevik::ui {

TLinTran::TLinTran(Prompter& prompter, QWidget* parent) : CalculatorDialog(prompter, parent) {
  setObjectName("TLinTran");
  setWindowTitle("Echelle capteur linéaire ");
  const setup::LinearSensorEntries defaults;
  minimumVolts_ = makeEntry("LoMaField", fromCp(defaults.minimumVolts));
  maximumVolts_ = makeEntry("HiMaField", fromCp(defaults.maximumVolts));
  minimumReading_ = makeEntry("ZeroField", fromCp(defaults.minimumReading));
  maximumReading_ = makeEntry("FSField", fromCp(defaults.maximumReading));
  calculateButton()->setText("Calculer ");

  auto* entries = new QFormLayout;
  entries->addRow("Minimum dc volts", minimumVolts_);
  entries->addRow("Maximum dc volts", maximumVolts_);
  entries->addRow("Minimum Val.Lue", minimumReading_);
  entries->addRow("Maximum Val.Lue", maximumReading_);
  layOutBesideResults(entries);

  Calculate();
}

setup::CalculatorResult TLinTran::compute() const {
  setup::LinearSensorEntries e;
  e.minimumVolts = entryText(minimumVolts_);
  e.maximumVolts = entryText(maximumVolts_);
  e.minimumReading = entryText(minimumReading_);
  e.maximumReading = entryText(maximumReading_);
  return setup::linearSensor(e);
}

}  // namespace brevik::ui
