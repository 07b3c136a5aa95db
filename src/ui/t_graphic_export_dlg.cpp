#include "ui/t_graphic_export_dlg.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/dialog_buttons.h"
#include "ui/file_paths.h"

namespace brevik::ui {

namespace {

struct FormatItem {
  GraphicFormat format;
  const char* name;
  const char* caption;
};

constexpr FormatItem kFormats[] = {
    {GraphicFormat::Png, "FormatPng", "PNG file"},
    {GraphicFormat::Jpeg, "FormatJpeg", "JPEG file"},
    {GraphicFormat::Pdf, "FormatPdf", "PDF file"},
    {GraphicFormat::Clipboard, "FormatClipboard", "Clipboard"},
};

int side(int pixels) { return std::clamp(pixels, kMinGraphicSide, kMaxGraphicSide); }

}  // namespace

std::string_view graphicFilter(GraphicFormat format) {
  switch (format) {
    case GraphicFormat::Png:
      return "PNG image|*.png";
    case GraphicFormat::Jpeg:
      return "JPEG image|*.jpg;*.jpeg";
    case GraphicFormat::Pdf:
      return "PDF document|*.pdf";
    case GraphicFormat::Clipboard:
      break;
  }
  return {};
}

QString graphicExtension(GraphicFormat format) {
  switch (format) {
    case GraphicFormat::Png:
      return "png";
    case GraphicFormat::Jpeg:
      return "jpg";
    case GraphicFormat::Pdf:
      return "pdf";
    case GraphicFormat::Clipboard:
      break;
  }
  return {};
}

QString graphicFileName(const QString& chosen, GraphicFormat format) {
  const QString suffix = QFileInfo(chosen).suffix().toLower();
  const QString wanted = graphicExtension(format);
  if (suffix == wanted || (format == GraphicFormat::Jpeg && suffix == "jpeg")) return chosen;
  return chosen + "." + wanted;
}

TGraphicExportDlg::TGraphicExportDlg(QSize windowSize, const std::filesystem::path& home, FileDialogs& fileDialogs,
                                     QWidget* parent)
    : QDialog(parent), home_(home), fileDialogs_(fileDialogs) {
  setObjectName("TGraphicExportDlg");
  setWindowTitle("Export Graphic");
  setModal(true);

  auto* formats = new QGroupBox("Format", this);
  formats->setObjectName("FormatGroup");
  format_ = new QButtonGroup(formats);
  auto* formatLayout = new QVBoxLayout(formats);
  for (const FormatItem& item : kFormats) {
    auto* r = new QRadioButton(item.caption, formats);
    r->setObjectName(item.name);
    format_->addButton(r, static_cast<int>(item.format));
    formatLayout->addWidget(r);
  }
  format_->button(static_cast<int>(GraphicFormat::Png))->setChecked(true);

  auto* sizes = new QGroupBox("Size", this);
  sizes->setObjectName("SizeGroup");
  windowSizeButton_ = new QRadioButton(sizes);
  windowSizeButton_->setObjectName("WindowSize");
  customSize_ = new QRadioButton("Width x height:", sizes);
  customSize_->setObjectName("CustomSize");
  width_ = new QSpinBox(sizes);
  width_->setObjectName("WidthBox");
  height_ = new QSpinBox(sizes);
  height_->setObjectName("HeightBox");
  for (QSpinBox* box : {width_, height_}) {
    box->setRange(kMinGraphicSide, kMaxGraphicSide);
    box->setSingleStep(10);
  }
  auto* times = new QLabel("x", sizes);
  auto* sizeLayout = new QGridLayout(sizes);
  sizeLayout->addWidget(windowSizeButton_, 0, 0, 1, 4);
  sizeLayout->addWidget(customSize_, 1, 0);
  sizeLayout->addWidget(width_, 1, 1);
  sizeLayout->addWidget(times, 1, 2);
  sizeLayout->addWidget(height_, 1, 3);
  windowSizeButton_->setChecked(true);
  connect(windowSizeButton_, &QRadioButton::toggled, this, &TGraphicExportDlg::SizeClick);

  const DialogButtons buttonRow = makeDialogButtons(*this);
  connect(buttonRow.ok, &QPushButton::clicked, this, &TGraphicExportDlg::OKBtnClick);

  auto* top = new QHBoxLayout;
  top->addWidget(formats);
  top->addWidget(sizes);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttonRow.row);

  setWindowSizeChoice(windowSize);
  SizeClick();
}

void TGraphicExportDlg::setWindowSizeChoice(QSize windowSize) {
  windowSize_ = QSize(side(windowSize.width()), side(windowSize.height()));
  windowSizeButton_->setText(
      QString("Window size (%1 x %2)").arg(windowSize_.width()).arg(windowSize_.height()));
  width_->setValue(windowSize_.width());
  height_->setValue(windowSize_.height());
}

void TGraphicExportDlg::showEvent(QShowEvent* event) {
  choice_.reset();
  QDialog::showEvent(event);
}

void TGraphicExportDlg::SizeClick() {
  const bool custom = customSize_->isChecked();
  width_->setEnabled(custom);
  height_->setEnabled(custom);
}

GraphicFormat TGraphicExportDlg::format() const { return static_cast<GraphicFormat>(format_->checkedId()); }

void TGraphicExportDlg::OKBtnClick() {
  GraphicExportChoice chosen;
  chosen.format = format();
  const QSize size = customSize_->isChecked() ? QSize(width_->value(), height_->value()) : windowSize_;
  chosen.width = size.width();
  chosen.height = size.height();
  if (chosen.format != GraphicFormat::Clipboard) {
    FileDialogRequest request;
    request.objectName = "SaveDialog1";
    request.title = "Save graph as";
    request.directory = qPathOf(home_);
    request.filter = qtFilterOf(graphicFilter(chosen.format));
    request.defaultSuffix = graphicExtension(chosen.format);
    request.save = true;
    const std::optional<QString> file = fileDialogs_ ? fileDialogs_(request) : std::nullopt;
    // No file chosen: the dialog stays for another choice.
    if (!file) return;
    chosen.filePath = graphicFileName(*file, chosen.format);
  }
  choice_ = chosen;
  accept();
}

std::optional<GraphicExportChoice> TGraphicExportDlg::choose() {
  if (exec() != QDialog::Accepted) return std::nullopt;
  return choice_;
}

}  // namespace brevik::ui
