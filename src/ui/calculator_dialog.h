#pragma once
// What the three calculators of the linear scaling dialog share: entry
// fields for real numbers, the two result fields, a button that calculates
// and an OK that calculates again and hands the results back. The rules are
// the core's (setup/scaling_calculators.h); each calculator only says which
// one it runs and lays out its fields.

#include <QDialog>
#include <optional>

#include "common/prompter.h"
#include "setup/scaling_calculators.h"

class QFormLayout;
class QLineEdit;
class QPushButton;

namespace brevik::ui {

class CalculatorDialog : public QDialog {
  Q_OBJECT

 public:
  // Runs the dialog: the two results OK accepted, none after Cancel.
  std::optional<setup::ScalePair> choose();
  // The results on display.
  setup::ScalePair results() const;

 public Q_SLOTS:
  // Shows the core's messages one by one; fills the results when the
  // entries give some. True when they did.
  bool Calculate();

 protected:
  CalculatorDialog(Prompter& prompter, QWidget* parent);

  virtual setup::CalculatorResult compute() const = 0;
  void showEvent(QShowEvent* event) override;

  // A real-number entry: blanks, a sign, digits and one '.' or ',' with at
  // most `decimals` decimals, ten characters at most. The first one made
  // has the focus whenever the dialog is shown.
  QLineEdit* makeEntry(const char* objectName, const QString& text = {}, int decimals = 3);
  // The read-only results (LoValField, HiValField).
  QLineEdit* lowResult() const { return lowResult_; }
  QLineEdit* highResult() const { return highResult_; }
  QPushButton* calculateButton() const { return calculate_; }
  // The OK and Cancel row, to be put at the foot of the layout.
  QLayout* buttonRow() const { return buttonRow_; }
  // The layout of the current-loop and linear-sensor calculators: their
  // entries in a column, the results and Calculate beside them, OK and
  // Cancel below.
  void layOutBesideResults(QFormLayout* entries);

 private Q_SLOTS:
  void OKBtnClick();

 private:
  Prompter& prompter_;
  QLineEdit* firstEntry_ = nullptr;
  QLineEdit* lowResult_ = nullptr;
  QLineEdit* highResult_ = nullptr;
  QPushButton* calculate_ = nullptr;
  QLayout* buttonRow_ = nullptr;
};

// Text of an entry field for the core.
std::string entryText(const QLineEdit* field);

}  // namespace brevik::ui
