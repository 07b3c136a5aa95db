#pragma once
// The current-loop calculator (TCloop): the scale of a 4-20 mA style sensor
// read across a shunt resistor.

#include "ui/calculator_dialog.h"

namespace brevik::ui {

class TCloop final : public CalculatorDialog {
  Q_OBJECT

 public:
  explicit TCloop(Prompter& prompter, QWidget* parent = nullptr);

 protected:
  setup::CalculatorResult compute() const override;

 private:
  QLineEdit* lowMilliamps_;
  QLineEdit* highMilliamps_;
  QLineEdit* ohms_;
  QLineEdit* zero_;
  QLineEdit* fullScale_;
};

}  // namespace brevik::ui
