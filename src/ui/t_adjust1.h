#pragma once
// The calibration calculator (TAdjust1): a new linear scale from the old one
// and two readings of the logger next to the true values.

#include <string>

#include "ui/calculator_dialog.h"

namespace brevik::ui {

class TAdjust1 final : public CalculatorDialog {
  Q_OBJECT

 public:
  // The old scale comes from the channel's linear item text.
  TAdjust1(const std::string& linearItemText, Prompter& prompter, QWidget* parent = nullptr);

 protected:
  setup::CalculatorResult compute() const override;

 private:
  QLineEdit* oldLow_;
  QLineEdit* oldHigh_;
  QLineEdit* lowLogger_;
  QLineEdit* lowTrue_;
  QLineEdit* highLogger_;
  QLineEdit* highTrue_;
};

}  // namespace brevik::ui
