#pragma once
// The picture export of the graph: PNG, JPEG or PDF file, or the clipboard,
// at the window's size or at a size the user gives. The dialog only
// chooses; the graph window draws.

#include <QDialog>
#include <QSize>
#include <QString>
#include <filesystem>
#include <optional>

#include "ui/file_dialogs.h"

class QButtonGroup;
class QRadioButton;
class QSpinBox;

namespace brevik::ui {

enum class GraphicFormat { Png, Jpeg, Pdf, Clipboard };

struct GraphicExportChoice {
  GraphicFormat format = GraphicFormat::Png;
  QString filePath;  // empty for the clipboard
  int width = 0;
  int height = 0;
  friend bool operator==(const GraphicExportChoice&, const GraphicExportChoice&) = default;
};

// Picture sides in pixels (PDF: points) that the export accepts.
inline constexpr int kMinGraphicSide = 100;
inline constexpr int kMaxGraphicSide = 10000;

// The save dialog's filter of a file format ("PNG image|*.png", ...) and
// its default extension.
std::string_view graphicFilter(GraphicFormat format);
QString graphicExtension(GraphicFormat format);
// The chosen name, with the format's extension added when it has another
// one (a JPEG may end in .jpg or .jpeg, any case).
QString graphicFileName(const QString& chosen, GraphicFormat format);

class TGraphicExportDlg final : public QDialog {
  Q_OBJECT

 public:
  // `windowSize` is the chart's present size; files are chosen in `home`.
  TGraphicExportDlg(QSize windowSize, const std::filesystem::path& home, FileDialogs& fileDialogs,
                    QWidget* parent = nullptr);

  void setWindowSizeChoice(QSize windowSize);
  // What OK chose; nothing before OK or after Cancel.
  const std::optional<GraphicExportChoice>& choice() const { return choice_; }
  // Runs the dialog.
  std::optional<GraphicExportChoice> choose();

 protected:
  void showEvent(QShowEvent* event) override;

 private Q_SLOTS:
  void OKBtnClick();
  void SizeClick();

 private:
  GraphicFormat format() const;

  std::filesystem::path home_;
  FileDialogs& fileDialogs_;
  QSize windowSize_;
  QButtonGroup* format_ = nullptr;
  QRadioButton* windowSizeButton_ = nullptr;
  QRadioButton* customSize_ = nullptr;
  QSpinBox* width_ = nullptr;
  QSpinBox* height_ = nullptr;
  std::optional<GraphicExportChoice> choice_;
};

}  // namespace brevik::ui
