#pragma once
// The export choice of the graph window (TExpDialog): a text export of the
// data or a picture of the graph.

#include <QDialog>
#include <optional>

class QButtonGroup;

namespace brevik::ui {

enum class ExportKind { Ascii, Graphic };

class TExpDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit TExpDialog(QWidget* parent = nullptr);

  // The radio button checked now (ASCII when the dialog opens).
  ExportKind kind() const;
  // Runs the dialog: the kind chosen with OK, nothing on Cancel.
  std::optional<ExportKind> choose();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QButtonGroup* type_ = nullptr;
};

}  // namespace brevik::ui
