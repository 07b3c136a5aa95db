#pragma once
// The OK, Cancel and Help buttons at the foot of the program's dialogs, in
// one right-aligned row.

#include <functional>

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace brevik::ui {

struct DialogButtons {
  QPushButton* ok = nullptr;      // OKBtn, the default button
  QPushButton* cancel = nullptr;  // CancelBtn, rejects the dialog
  QPushButton* help = nullptr;    // HelpBtn; none when no help is given
  QHBoxLayout* row = nullptr;     // for the dialog's layout
};

DialogButtons makeDialogButtons(QDialog& dialog, std::function<void()> help = {});

}  // namespace brevik::ui
