#pragma once
// The viewport dialog (TViewPortsDlg): which channels are shown, in how many
// viewports and how they are shared out. Every click goes to the
// ViewportDialogModel; the window shows what the model says.

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "common/prompter.h"
#include "graph/viewport_dialog_model.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace brevik::ui {

class UpDownSpinner;

// What OK hands back to the graph.
struct ViewportArrangement {
  int count = 1;
  graph::ViewportLayout layout{};
  std::array<bool, 4> visible{true, true, true, true};
  friend bool operator==(const ViewportArrangement&, const ViewportArrangement&) = default;
};

class TViewPortsDlg final : public QDialog {
  Q_OBJECT

 public:
  // `model` is set up by the caller (setFile, setArrangement) before the
  // dialog opens.
  TViewPortsDlg(graph::ViewportDialogModel& model, Prompter& prompter, QWidget* parent = nullptr);

  void setRealTime(bool realTime) { realTime_ = realTime; }
  void setHelpAction(std::function<void()> action) { help_ = std::move(action); }

  // Shows the model's lists, label, spinners and boxes.
  void refresh();
  // The arrangement OK accepted; nothing before OK or after Cancel.
  const std::optional<ViewportArrangement>& arrangement() const { return arrangement_; }
  // Runs the dialog.
  std::optional<ViewportArrangement> choose();

 protected:
  void showEvent(QShowEvent* event) override;

 private Q_SLOTS:
  void OKBtnClick();
  void AllBtnClick();

 private:
  void HideClick(int channel, bool checked);

  graph::ViewportDialogModel& model_;
  Prompter& prompter_;
  bool realTime_ = false;
  QListWidget* list_ = nullptr;
  QListWidget* hidden_ = nullptr;
  QLabel* hiddenLabel_ = nullptr;
  QLabel* countLabel_ = nullptr;
  UpDownSpinner* border1_ = nullptr;
  UpDownSpinner* border2_ = nullptr;
  UpDownSpinner* count_ = nullptr;
  std::array<QCheckBox*, 4> hide_{};
  QPushButton* all_ = nullptr;
  std::optional<ViewportArrangement> arrangement_;
  std::function<void()> help_;
};

}  // namespace brevik::ui
