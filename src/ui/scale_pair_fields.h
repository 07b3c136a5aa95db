#pragma once
// The two number fields shared by the linear scaling and contact values
// dialogs, and what their OK does with them: the core's check of the pair,
// its refusal shown as an error box with the focus back on the first field.

#include <QString>
#include <optional>

#include "common/prompter.h"
#include "setup/scale_entry.h"

class QGridLayout;
class QLineEdit;
class QWidget;

namespace brevik::ui {

struct ScalePairFields {
  QLineEdit* low = nullptr;   // LoVal_dlg
  QLineEdit* high = nullptr;  // HiVal_dlg

  // Both fields (at most 6 characters) with their labels, in two rows of `grid`.
  static ScalePairFields addTo(QGridLayout& grid, QWidget& owner, const QString& lowLabel,
                               const QString& highLabel);

  void clear();
  // The accepted pair, or none after the refusal was shown.
  std::optional<setup::ScalePair> accepted(Prompter& prompter) const;
};

}  // namespace brevik::ui
