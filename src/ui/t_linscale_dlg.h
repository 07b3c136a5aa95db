#pragma once
// The linear scaling dialog (TLinscaleDlg): the values at the bottom and at
// the top of a channel's 0-5 V input, typed or filled by one of the three
// calculators (TCloop, TLinTran, TAdjust1).

#include <QDialog>
#include <optional>
#include <string>

#include "common/prompter.h"
#include "setup/scale_entry.h"
#include "ui/scale_pair_fields.h"

class QPushButton;

namespace brevik::ui {

class TLinscaleDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit TLinscaleDlg(Prompter& prompter, QWidget* parent = nullptr);

  // Both fields cleared; `linearItemText` is the channel's linear item, the
  // old scale of the calibration.
  void prepare(const std::string& linearItemText);
  // The pair OK accepted; none before OK or after Cancel.
  const std::optional<setup::ScalePair>& accepted() const { return accepted_; }
  // prepare, then runs the dialog.
  std::optional<setup::ScalePair> choose(const std::string& linearItemText);

 protected:
  void showEvent(QShowEvent* event) override;

 private Q_SLOTS:
  void OKBtnClick();
  void CLBtnClick();
  void LTBtnClick();
  void AdjustBtnClick();

 private:
  void fill(const std::optional<setup::ScalePair>& results);

  Prompter& prompter_;
  ScalePairFields fields_;
  std::string linearItemText_;
  std::optional<setup::ScalePair> accepted_;
};

}  // namespace brevik::ui
