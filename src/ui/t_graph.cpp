#include "ui/t_graph.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include "platform/qcustomplot_include.h"

#include "platform/chart_drawing.h"
#include "program/desktop_session.h"
#include "ui/file_paths.h"
#include "ui/t_ascii_dlg.h"
#include "ui/t_color_setup.h"
#include "ui/t_exp_dialog.h"
#include "ui/t_graphic_export_dlg.h"
#include "ui/t_viewports_dlg.h"
#include "ui/text.h"

namespace brevik::ui {

namespace {

constexpr int kFileModeHelpTopic = 2;
constexpr int kRealTimeHelpTopic = 27;

// The hourglass and a window that takes no command while the chart is
// rebuilt; both come back however the rebuild ends.
class BusyWindow {
 public:
  explicit BusyWindow(QWidget& window) : window_(window), wasEnabled_(window.isEnabled()) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    window_.setEnabled(false);
  }
  ~BusyWindow() {
    window_.setEnabled(wasEnabled_);
    QApplication::restoreOverrideCursor();
  }
  BusyWindow(const BusyWindow&) = delete;
  BusyWindow& operator=(const BusyWindow&) = delete;

 private:
  QWidget& window_;
  bool wasEnabled_;
};

}  // namespace

TGraph::TGraph(graph::GraphModel& model, Prompter& prompter, FileDialogs fileDialogs, std::filesystem::path home,
               QWidget* parent)
    : QMainWindow(parent), model_(model), prompter_(prompter), fileDialogs_(std::move(fileDialogs)), home_(std::move(home)) {
  setObjectName("Graph");
  if (!fileDialogs_) fileDialogs_ = nativeFileDialogs(this);
  chart_ = new QCustomPlot(this);
  chart_->setObjectName("PESGraph1");
  chart_->setSelectionRectMode(QCP::srmCustom);
  chart_->setContextMenuPolicy(Qt::CustomContextMenu);
  setCentralWidget(chart_);
  menus_ = std::make_unique<GraphMenus>(*menuBar(), *this, [this](GraphCommand c) { command(c); });
  connect(chart_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { menus_->popup().popup(chart_->mapToGlobal(at)); });
  connect(chart_, &QCustomPlot::mousePress, this, [this](QMouseEvent*) { mouseDown_ = true; });
  connect(chart_, &QCustomPlot::mouseRelease, this, [this](QMouseEvent*) { mouseDown_ = false; });
  connect(chart_->selectionRect(), &QCPSelectionRect::accepted, this, [this](const QRect& box, QMouseEvent* event) {
    // A click without a drag, or a right-button drag, is no zoom.
    if (event != nullptr && event->button() != Qt::LeftButton) return;
    if (box.width() < 3) return;
    const platform::ChartSpan span = platform::chartSpanOfPixels(*chart_, box.left(), box.right());
    zoomTo(span.from, span.to);
  });

  colorSlots_ = model_.colors();
  colorSetup_ = new TColorSetup(colorSlots_, model_.settings(), home_, prompter_, fileDialogs_, this);
  colorSetup_->setAppliedAction([this](const graph::ColorSlots& slots) {
    model_.setColors(slots);
    rebuild();
  });
  colorSetup_->setHelpAction([this] { openHelp(graph::color_dialog::kHelpTopic); });
  viewports_ = new TViewPortsDlg(viewportModel_, prompter_, this);
  viewports_->setHelpAction([this] { openHelp(graph::viewport_dialog::kHelpTopic); });
  exportChoice_ = new TExpDialog(this);
  ascii_ = new TAsciiDlg(home_, model_.settings(), prompter_, fileDialogs_, model_.exportSource(), this);
  ascii_->setHelpAction([this] { openHelp(kFileModeHelpTopic); });
  graphicExport_ = new TGraphicExportDlg(chart_->size(), home_, fileDialogs_, this);

  syncMenus();
  rebuild();
}

TGraph::~TGraph() = default;

void TGraph::openHelp(int topic) {
  if (help_) help_(topic);
}

// The colour file of the settings, loaded as the colour dialog comes up
// with the program.
void TGraph::loadStartupColors() {
  colorSlots_ = loadStartupColorSlots(home_, model_.settings(), prompter_);
  model_.setColors(colorSlots_);
  rebuild();
}

double TGraph::now() const {
  if (now_) return now_();
  return graph::chartSeconds(SystemClock().now());
}

void TGraph::realTimeReading(bool first) {
  if (first) {
    syncMenus();
    rebuild();
    showSized();
    return;
  }
  // A zoom box being dragged, a frozen zoom or a hidden window keep the
  // chart as it is; the readings are still kept.
  if (mouseDown_ || model_.realTimeGraph().frozen() || !isVisible()) return;
  rebuild();
}

void TGraph::showRealTime() {
  if (!model_.realTime() || model_.realTimeGraph().count() == 0) return;
  // Readings that came while the window was hidden were kept, not drawn.
  rebuild();
  showSized();
}

void TGraph::realTimeEnded() {
  syncMenus();
  if (isVisible()) rebuild();
}

void TGraph::showMessage(MessageKind kind, const std::string& text) {
  prompter_.ask(Message{kind, text, Buttons::Ok, 0});
}

bool TGraph::chooseAndOpen() {
  FileDialogRequest request;
  request.objectName = "OpenDialog1";
  request.title = "Open";
  request.directory = qPathOf(home_);
  request.filter = qtFilterOf(kDataFileFilter);
  request.defaultSuffix = "qx1";
  const std::optional<QString> chosen = fileDialogs_ ? fileDialogs_(request) : std::nullopt;
  if (!chosen) return false;
  return openFile(pathOf(*chosen));
}

bool TGraph::openFile(const std::filesystem::path& fileName) {
  std::filesystem::path path = fileName;
  if (path.is_relative()) path = home_ / path;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    showMessage(MessageKind::Information, "File: " + toCp(qPathOf(fileName)) + " not found");
    return false;
  }
  // A file takes the place of a running real-time graph.
  if (model_.realTime() && realTimeClosed_) realTimeClosed_(true);
  Result<graph::LoadNotices> loaded = [&] {
    BusyWindow busy(*this);
    return model_.open(path);
  }();
  if (!loaded) {
    showMessage(MessageKind::Error, loaded.error().message);
    return false;
  }
  for (const std::string& notice : *loaded) showMessage(MessageKind::Information, notice);
  syncMenus();
  rebuild();
  return true;
}

void TGraph::showSized() {
  // The window's size follows the screen's height, as on the 640 x 480
  // screens the window was first laid out for.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double scale = screen != nullptr ? screen->geometry().height() / 480.0 : 1.0;
  QSize size(static_cast<int>(639 * scale), static_cast<int>(452 * scale));
  // On screens narrower than 4:3 that size would reach past the edge.
  if (screen != nullptr) size = size.boundedTo(screen->availableGeometry().size());
  resize(size);
  setWindowTitle(fromCp(model_.plan().caption));
  show();
  raise();
  activateWindow();
}

void TGraph::showFile(const std::filesystem::path& fileName) {
  showSized();
  openFile(fileName);
}

void TGraph::showCurrent() {
  showSized();
  if (!model_.loaded()) openFile(std::filesystem::path(model_.settings().DataFileName));
}

void TGraph::rebuild() {
  // The menus follow the model in syncMenus(); a rebuild only draws.
  const graph::ChartPlan plan = model_.plan();
  platform::drawChart(*chart_, plan);
  setWindowTitle(fromCp(plan.caption));
}

// The checks of both menus always come from the model, so twins agree.
void TGraph::syncMenus() {
  const graph::ViewOptions& o = model_.options();
  const settings::LoggerSettings& s = model_.settings();
  auto check = [this](GraphCommand c, bool on) { menus_->setChecked(c, on); };
  check(GraphCommand::FontLarge, o.fontSize == graph::FontSize::Large);
  check(GraphCommand::FontMedium, o.fontSize == graph::FontSize::Medium);
  check(GraphCommand::FontSmall, o.fontSize == graph::FontSize::Small);
  check(GraphCommand::GridBoth, o.grid == graph::GridLines::Both);
  check(GraphCommand::GridY, o.grid == graph::GridLines::YAxis);
  check(GraphCommand::GridX, o.grid == graph::GridLines::XAxis);
  check(GraphCommand::GridNone, o.grid == graph::GridLines::None);
  check(GraphCommand::GridInFront, o.gridInFront);
  check(GraphCommand::MarkDataPoints, o.markDataPoints);
  check(GraphCommand::ThickPlotting, o.thickLines);
  check(GraphCommand::Fahrenheit, s.FahrenheitUnits != 0);
  check(GraphCommand::Celsius, s.FahrenheitUnits == 0);
  check(GraphCommand::HumidityRh, s.HumidityMode == 0);
  check(GraphCommand::HumidityDewPoint, s.HumidityMode == 1);
  check(GraphCommand::HumidityWetBulb, s.HumidityMode == 2);
  check(GraphCommand::NoDecimals, o.decimals == 0);
  check(GraphCommand::OneDecimal, o.decimals == 1);
  check(GraphCommand::TwoDecimals, o.decimals == 2);
  check(GraphCommand::ThreeDecimals, o.decimals == 3);
  check(GraphCommand::NameOnly, o.fileName == graph::FileNameShown::NameOnly);
  check(GraphCommand::PathAndName, o.fileName == graph::FileNameShown::PathAndName);
  check(GraphCommand::NoFileName, o.fileName == graph::FileNameShown::None);
  check(GraphCommand::Color, o.style == graph::ViewingStyle::Color);
  check(GraphCommand::Monochrome, o.style == graph::ViewingStyle::Monochrome);
  check(GraphCommand::MonochromeSymbols, o.style == graph::ViewingStyle::MonochromeSymbols);
  // The real-time graph converts nothing and exports nothing.
  const bool fileMode = !model_.realTime();
  for (GraphCommand c : {GraphCommand::Export, GraphCommand::Fahrenheit, GraphCommand::Celsius, GraphCommand::HumidityRh,
                         GraphCommand::HumidityWetBulb, GraphCommand::HumidityDewPoint})
    menus_->setEnabled(c, fileMode);
  menus_->setEnabled(GraphCommand::UndoZoom, model_.zoomed());
}

void TGraph::command(GraphCommand c) {
  switch (c) {
    case GraphCommand::Open: chooseAndOpen(); return;
    case GraphCommand::Export: exportChart(); return;
    case GraphCommand::Print: printChart(); return;
    case GraphCommand::Exit: close(); return;
    case GraphCommand::Viewports: openViewports(); return;
    case GraphCommand::Colors: openColors(); return;
    case GraphCommand::Help: openHelp(model_.realTime() ? kRealTimeHelpTopic : kFileModeHelpTopic); return;
    case GraphCommand::UndoZoom: {
      if (model_.realTime()) {
        model_.realTimeUndoZoom(now());
        syncMenus();
        rebuild();
        return;
      }
      Status undone = [&] {
        BusyWindow busy(*this);
        return model_.undoZoom();
      }();
      if (!undone) showMessage(MessageKind::Error, undone.error().message);
      syncMenus();
      rebuild();
      return;
    }
    case GraphCommand::Fahrenheit:
    case GraphCommand::Celsius:
    case GraphCommand::HumidityRh:
    case GraphCommand::HumidityWetBulb:
    case GraphCommand::HumidityDewPoint: setUnits(c); return;
    default: setOption(c); return;
  }
}

void TGraph::setOption(GraphCommand c) {
  graph::ViewOptions o = model_.options();
  switch (c) {
    case GraphCommand::FontLarge: o.fontSize = graph::FontSize::Large; break;
    case GraphCommand::FontMedium: o.fontSize = graph::FontSize::Medium; break;
    case GraphCommand::FontSmall: o.fontSize = graph::FontSize::Small; break;
    case GraphCommand::GridBoth: o.grid = graph::GridLines::Both; break;
    case GraphCommand::GridY: o.grid = graph::GridLines::YAxis; break;
    case GraphCommand::GridX: o.grid = graph::GridLines::XAxis; break;
    case GraphCommand::GridNone: o.grid = graph::GridLines::None; break;
    case GraphCommand::GridInFront: o.gridInFront = !o.gridInFront; break;
    case GraphCommand::MarkDataPoints: o.markDataPoints = !o.markDataPoints; break;
    case GraphCommand::ThickPlotting: o.thickLines = !o.thickLines; break;
    case GraphCommand::NoDecimals: o.decimals = 0; break;
    case GraphCommand::OneDecimal: o.decimals = 1; break;
    case GraphCommand::TwoDecimals: o.decimals = 2; break;
    case GraphCommand::ThreeDecimals: o.decimals = 3; break;
    case GraphCommand::NameOnly: o.fileName = graph::FileNameShown::NameOnly; break;
    case GraphCommand::PathAndName: o.fileName = graph::FileNameShown::PathAndName; break;
    case GraphCommand::NoFileName: o.fileName = graph::FileNameShown::None; break;
    case GraphCommand::Color: o.style = graph::ViewingStyle::Color; break;
    case GraphCommand::Monochrome: o.style = graph::ViewingStyle::Monochrome; break;
    case GraphCommand::MonochromeSymbols: o.style = graph::ViewingStyle::MonochromeSymbols; break;
    default: return;
  }
  model_.setOptions(o);
  syncMenus();
  rebuild();
}

void TGraph::setUnits(GraphCommand c) {
  Status changed = [&] {
    BusyWindow busy(*this);
    switch (c) {
      case GraphCommand::Fahrenheit: return model_.setFahrenheit(true);
      case GraphCommand::Celsius: return model_.setFahrenheit(false);
      case GraphCommand::HumidityRh: return model_.setHumidityMode(0);
      case GraphCommand::HumidityDewPoint: return model_.setHumidityMode(1);
      case GraphCommand::HumidityWetBulb: return model_.setHumidityMode(2);
      default: return Status{};
    }
  }();
  if (!changed) showMessage(MessageKind::Error, changed.error().message);
  syncMenus();
  rebuild();
}

void TGraph::zoomTo(double from, double to) {
  if (model_.realTime()) {
    model_.realTimeZoomIn(from, to, now());
    syncMenus();
    rebuild();
    return;
  }
  Result<graph::ZoomOutcome> zoomed = [&] {
    BusyWindow busy(*this);
    return model_.zoomIn(graph::dateTimeOfChartSeconds(from), graph::dateTimeOfChartSeconds(to));
  }();
  if (!zoomed) {
    showMessage(MessageKind::Error, zoomed.error().message);
    return;
  }
  if (!zoomed->applied) {
    showMessage(MessageKind::Information, zoomed->message);
    return;
  }
  syncMenus();
  rebuild();
}

void TGraph::prepareViewportsDialog() {
  const datafile::LoadedFile& file = model_.file();
  viewportModel_.setFile(file.channels, file.header.descriptions);
  viewportModel_.setArrangement(model_.viewportCount(), model_.viewportLayout(), model_.visible());
  viewports_->setRealTime(model_.realTime());
}

void TGraph::openViewports() {
  prepareViewportsDialog();
  const std::optional<ViewportArrangement> chosen = viewports_->choose();
  if (!chosen) return;
  model_.applyViewports(chosen->count, chosen->layout, chosen->visible);
  rebuild();
}

void TGraph::prepareColorSetup() {
  colorSlots_ = model_.colors();
  colorSetup_->setChannel1Description(model_.file().header.descriptions[0]);
}

void TGraph::openColors() {
  prepareColorSetup();
  colorSetup_->exec();
}

void TGraph::exportChart() {
  const std::optional<ExportKind> kind = exportChoice_->choose();
  if (!kind) return;
  if (*kind == ExportKind::Ascii) {
    if (!model_.loaded()) {
      showMessage(MessageKind::Information, "No data file is loaded");
      return;
    }
    ascii_->exec();
    return;
  }
  exportGraphic();
}

void TGraph::exportGraphic() {
  graphicExport_->setWindowSizeChoice(chart_->size());
  const std::optional<GraphicExportChoice> choice = graphicExport_->choose();
  if (!choice) return;
  const graph::ChartPlan plan = model_.plan();
  if (choice->format == GraphicFormat::Clipboard) {
    QGuiApplication::clipboard()->setImage(platform::chartImage(plan, choice->width, choice->height));
    return;
  }
  const platform::ImageFormat format = choice->format == GraphicFormat::Jpeg  ? platform::ImageFormat::Jpeg
                                       : choice->format == GraphicFormat::Pdf ? platform::ImageFormat::Pdf
                                                                              : platform::ImageFormat::Png;
  const std::filesystem::path target = pathOf(choice->filePath);
  Status written = platform::renderChart(plan, target, format, choice->width, choice->height);
  if (!written) {
    showMessage(MessageKind::Error, written.error().message);
    return;
  }
  showMessage(MessageKind::Information, toCp(choice->filePath) + " saved to disk");
}

void TGraph::printChart() {
  // At screen resolution the chart's point-sized fonts keep their size
  // relative to its pixel-sized lines; the drawing stays vector.
  QPrinter printer(QPrinter::ScreenResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintPreviewDialog preview(&printer, this);
  preview.setObjectName("PrintPreview");
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
    // The chart fills the page at the page's own resolution.
    QCPPainter painter(target);
    const QRectF page = target->pageRect(QPrinter::DevicePixel);
    // Drawn at the window's size and scaled up, so fonts and lines keep
    // their proportions on the page.
    const double scale = page.width() / std::max(1, chart_->width());
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.scale(scale, scale);
    chart_->toPainter(&painter, static_cast<int>(page.width() / scale), static_cast<int>(page.height() / scale));
  });
  preview.exec();
}

void TGraph::closeEvent(QCloseEvent* event) {
  event->accept();
  if (model_.realTime()) {
    const Answer a = prompter_.ask(
        Message{MessageKind::Confirmation, std::string(program::kEmptyGraphBufferQuestion), Buttons::YesNo, 0});
    if (realTimeClosed_) realTimeClosed_(a == Answer::Yes);
  }
  hide();
  if (closed_) closed_();
}

}  // namespace brevik::ui
