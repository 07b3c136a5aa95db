#pragma once
// The linear-sensor calculator (TLinTran): the scale of a sensor whose
// output voltage is linear in what it measures.

#include "ui/calculator_dialog.h"

namespace brevik::ui {

class TLinTran final : public CalculatorDialog {
  Q_OBJECT

 public:
  explicit TLinTran(Prompter& prompter, QWidget* parent = nullptr);

 protected:
  setup::CalculatorResult compute() const override;

 private:
  QLineEdit* minimumVolts_;
  QLineEdit* maximumVolts_;
  QLineEdit* minimumReading_;
  QLineEdit* maximumReading_;
};

}  // namespace brevik::ui
