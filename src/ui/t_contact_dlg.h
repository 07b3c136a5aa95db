#pragma once
// The contact values dialog (TContactDlg): the values a contact channel
// records when open and when closed.

#include <QDialog>
#include <optional>

#include "common/prompter.h"
#include "setup/scale_entry.h"
#include "ui/scale_pair_fields.h"

namespace brevik::ui {

class TContactDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit TContactDlg(Prompter& prompter, QWidget* parent = nullptr);

  // Both fields cleared.
  void prepare();
  // The open and closed values OK accepted; none before OK or after Cancel.
  const std::optional<setup::ScalePair>& accepted() const { return accepted_; }
  // prepare, then runs the dialog.
  std::optional<setup::ScalePair> choose();

 protected:
  void showEvent(QShowEvent* event) override;

 private Q_SLOTS:
  void OKBtnClick();

 private:
  Prompter& prompter_;
  ScalePairFields fields_;
  std::optional<setup::ScalePair> accepted_;
};

}  // namespace brevik::ui
