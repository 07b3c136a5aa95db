#include "ui/t_cloop.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "ui/text.h"

namespace brevik::ui {

TCloop::TCloop(Prompter& prompter, QWidget* parent) : CalculatorDialog(prompter, parent) {
  setObjectName("TCloop");
  setWindowTitle("Echelle Boucle mA   ");
  const setup::CurrentLoopEntries defaults;
  lowMilliamps_ = makeEntry("LoMaField", fromCp(defaults.lowMilliamps));
  highMilliamps_ = makeEntry("HiMaField", fromCp(defaults.highMilliamps));
  ohms_ = makeEntry("OhmsField", fromCp(defaults.ohms));
  zero_ = makeEntry("ZeroField", fromCp(defaults.zeroValue));
  fullScale_ = makeEntry("FSField", fromCp(defaults.fullScaleValue));
  calculateButton()->setText("Calculer ");

  auto* entries = new QFormLayout;
  entries->addRow("Bas Milliamp.", lowMilliamps_);
  entries->addRow("High Milliamps", highMilliamps_);
  entries->addRow("Résistan.Ohms", ohms_);
  entries->addRow("Val.Bas Lue", zero_);
  entries->addRow("Val.Haut Lue", fullScale_);
  layOutBesideResults(entries);

  Calculate();
}

setup::CalculatorResult TCloop::compute() const {
  setup::CurrentLoopEntries e;
  e.lowMilliamps = entryText(lowMilliamps_);
  e.highMilliamps = entryText(highMilliamps_);
  e.ohms = entryText(ohms_);
  e.zeroValue = entryText(zero_);
  e.fullScaleValue = entryText(fullScale_);
  return setup::currentLoop(e);
}

}  // namespace brevik::ui
