#include "platform/chart_drawing.h"

#include <QApplication>
#include <QImage>
#include <QSvgGenerator>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <system_error>


#include "common/cp1252.h"
#include "common/files.h"
#include "graph/graph_colors.h"
#include "platform/qcustomplot_include.h"

namespace brevik::platform {

namespace {

namespace fs = std::filesystem;

// Core texts are Windows-1252 bytes.
QString textOf(std::string_view cp1252) { return QString::fromStdString(toUtf8(cp1252)); }

QColor colorOf(graph::Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

QColor slotColorOf(const graph::ChartPlan& plan, int slot) { return colorOf(graph::slotColor(plan.colors, slot)); }

// Monochrome draws every subset in one dark ink and tells them apart by pen
// style or by symbol.
const QColor kMonochromeInk(0, 0, 0);
constexpr std::array<Qt::PenStyle, 4> kMonochromePenStyles = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                                             Qt::DashDotLine};
constexpr std::array<QCPScatterStyle::ScatterShape, 4> kSymbolShapes = {
    QCPScatterStyle::ssCircle, QCPScatterStyle::ssSquare, QCPScatterStyle::ssTriangle, QCPScatterStyle::ssDiamond};
// Symbols along a decimated line: about this many per subset, so the lines
// stay lines.
constexpr int kSymbolsAlongLine = 30;

constexpr double kThinPen = 1.0;
constexpr double kThickPen = 2.5;
constexpr double kMarkerSize = 5.0;

// Tick labels, axis labels and the legend use the base size; the title is
// larger.
double basePointSize(graph::FontSize size) {
  switch (size) {
    case graph::FontSize::Small: return 7.0;
    case graph::FontSize::Large: return 11.0;
    case graph::FontSize::Medium: break;
  }
  return 9.0;
}

QFont chartFont(double pointSize, bool bold = false) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

const QString kViewportHeightsName = QStringLiteral("brevikViewportHeights");
const QString kMarginGroupName = QStringLiteral("brevikViewportMargins");

// Stacked axis rects of the same layout height still differ in plot height
// when their margins differ (only the bottom one carries the X tick labels
// and the file name). After each layout the rows' stretch factors are set so
// that every viewport gets the same plot height, and the rows laid out again.
void equalizeViewportHeights(QCustomPlot& plot) {
  QCPLayoutGrid* grid = plot.plotLayout();
  std::vector<std::pair<int, QCPAxisRect*>> rows;
  for (int row = 0; row < grid->rowCount(); ++row)
    if (auto* rect = qobject_cast<QCPAxisRect*>(grid->element(row, 0))) rows.emplace_back(row, rect);
  if (rows.size() < 2) return;
  double outer = 0.0;
  double margins = 0.0;
  for (const auto& [row, rect] : rows) {
    outer += rect->outerRect().height();
    margins += rect->margins().top() + rect->margins().bottom();
  }
  const double inner = (outer - margins) / static_cast<double>(rows.size());
  if (inner <= 0.0) return;
  bool changed = false;
  for (const auto& [row, rect] : rows) {
    const double wanted = inner + rect->margins().top() + rect->margins().bottom();
    changed = changed || std::abs(wanted - rect->outerRect().height()) > 1.0;
    grid->setRowStretchFactor(row, wanted);
  }
  if (changed) grid->update(QCPLayoutElement::upLayout);
}

void keepViewportHeightsEqual(QCustomPlot& plot) {
  if (plot.findChild<QObject*>(kViewportHeightsName, Qt::FindDirectChildrenOnly)) return;
  auto* keeper = new QObject(&plot);
  keeper->setObjectName(kViewportHeightsName);
  QObject::connect(&plot, &QCustomPlot::afterLayout, keeper, [&plot] { equalizeViewportHeights(plot); });
}

QCPMarginGroup* marginGroup(QCustomPlot& plot) {
  if (auto* group = plot.findChild<QCPMarginGroup*>(kMarginGroupName, Qt::FindDirectChildrenOnly)) return group;
  auto* group = new QCPMarginGroup(&plot);
  group->setObjectName(kMarginGroupName);
  return group;
}

struct Colors {
  QColor text;     // slot 5: labels, ticks, title, legend text
  QColor grid;     // slot 6
  QColor back;     // slot 7: the plot area
  QColor desk;     // slot 8: around it
};

Colors colorsOf(const graph::ChartPlan& plan) {
  return {slotColorOf(plan, 5), slotColorOf(plan, 6), slotColorOf(plan, 7), slotColorOf(plan, 8)};
}

void styleAxis(QCPAxis& axis, const Colors& colors, const QFont& font) {
  const QPen pen(colors.text, 1.0);
  axis.setBasePen(pen);
  axis.setTickPen(pen);
  axis.setSubTickPen(pen);
  axis.setTickLabelColor(colors.text);
  axis.setLabelColor(colors.text);
  axis.setTickLabelFont(font);
  axis.setLabelFont(font);
  QPen gridPen(colors.grid, 0.0, Qt::DotLine);
  axis.grid()->setPen(gridPen);
  axis.grid()->setZeroLinePen(gridPen);
  axis.grid()->setSubGridVisible(false);
}

// Which grids the option shows: the Y axis's grid lines run across, the X
// axis's up and down.
bool showsXGrid(graph::GridLines grid) { return grid == graph::GridLines::XAxis || grid == graph::GridLines::Both; }
bool showsYGrid(graph::GridLines grid) { return grid == graph::GridLines::YAxis || grid == graph::GridLines::Both; }

// The value range of a viewport: its fixed scale, else its data with a
// little room above and below (a flat line sits in the middle of a range of
// its own).
QCPRange valueRange(const graph::ChartPlan& plan, const graph::ChartViewport& viewport) {
  if (viewport.scale.manual) {
    double low = std::min(viewport.scale.minimum, viewport.scale.maximum);
    double high = std::max(viewport.scale.minimum, viewport.scale.maximum);
    if (std::isfinite(low) && std::isfinite(high)) {
      if (high - low > 0.0) return {low, high};
      return {low - 1.0, high + 1.0};
    }
  }
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  for (std::size_t index : viewport.subsets) {
    if (index >= plan.subsets.size()) continue;
    for (double v : plan.subsets[index].values) {
      if (!std::isfinite(v)) continue;
      low = std::min(low, v);
      high = std::max(high, v);
    }
  }
  if (!(low <= high)) return {0.0, 1.0};
  if (high - low <= 0.0) {
    const double half = std::max(1.0, std::abs(low) * 0.01);
    return {low - half, high + half};
  }
  const double room = (high - low) * 0.05;
  return {low - room, high + room};
}

QCPRange keyRange(const graph::ChartPlan& plan) {
  double low = plan.xMin;
  double high = plan.xMax;
  if (!std::isfinite(low) || !std::isfinite(high)) low = high = 0.0;
  if (high < low) std::swap(low, high);
  if (high - low <= 0.0) return {low - 60.0, high + 60.0};
  return {low, high};
}

void styleGraph(QCPGraph& graph, const graph::ChartPlan& plan, std::size_t subsetIndex, int pointCount) {
  const graph::ChartSubset& subset = plan.subsets[subsetIndex];
  const std::size_t look = subsetIndex % kMonochromePenStyles.size();
  const double width = plan.options.thickLines ? kThickPen : kThinPen;
  QPen pen;
  pen.setWidthF(width);
  QCPScatterStyle scatter;  // none
  switch (plan.options.style) {
    case graph::ViewingStyle::Monochrome:
      pen.setColor(kMonochromeInk);
      pen.setStyle(kMonochromePenStyles[look]);
      if (plan.markers) scatter = QCPScatterStyle(QCPScatterStyle::ssCircle, kMarkerSize);
      break;
    case graph::ViewingStyle::MonochromeSymbols:
      pen.setColor(kMonochromeInk);
      scatter = QCPScatterStyle(kSymbolShapes[look], kMarkerSize + 1.0);
      // Every point is marked when markers are on; otherwise the symbols
      // only name the line.
      if (!plan.markers) graph.setScatterSkip(std::max(0, pointCount / kSymbolsAlongLine - 1));
      break;
    case graph::ViewingStyle::Color:
      pen.setColor(slotColorOf(plan, subset.colorSlot));
      if (plan.markers) scatter = QCPScatterStyle(QCPScatterStyle::ssCircle, kMarkerSize);
      break;
  }
  graph.setPen(pen);
  graph.setScatterStyle(scatter);
  graph.setLineStyle(QCPGraph::lsLine);
  graph.setName(textOf(subset.legend));
}

QCPLegend* addLegend(QCPAxisRect& rect, const Colors& colors, const QFont& font) {
  auto* legend = new QCPLegend;
  rect.insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
  legend->setLayer(QStringLiteral("legend"));
  legend->setFont(font);
  legend->setTextColor(colors.text);
  QColor back = colors.back;
  back.setAlpha(210);
  legend->setBrush(QBrush(back));
  legend->setBorderPen(QPen(colors.text, 0.0));
  legend->setVisible(true);
  return legend;
}

QCustomPlot* offscreenPlot(const graph::ChartPlan& plan, int width, int height) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  auto* plot = new QCustomPlot;
  plot->setAttribute(Qt::WA_DontShowOnScreen);
  plot->resize(width, height);
  drawChart(*plot, plan);
  return plot;
}

}  // namespace

std::string_view tickFormatOfSpan(double seconds) {
  if (seconds <= 10.0 * 60.0) return "hh:mm:ss\nd MMM yyyy";
  if (seconds <= 3.0 * 86400.0) return "hh:mm\nd MMM yyyy";
  if (seconds <= 400.0 * 86400.0) return "d MMM\nyyyy";
  return "MMM\nyyyy";
}

void drawChart(QCustomPlot& plot, const graph::ChartPlan& plan) {
  plot.clearGraphs();
  plot.clearItems();
  // Each viewport lists its own subsets in its own legend.
  plot.setAutoAddPlottableToLegend(false);
  QCPLayoutGrid* layout = plot.plotLayout();
  layout->clear();
  layout->setRowSpacing(4);

  const Colors colors = colorsOf(plan);
  const double pointSize = basePointSize(plan.options.fontSize);
  const QFont font = chartFont(pointSize);
  plot.setBackground(QBrush(colors.desk));

  int row = 0;
  if (!plan.title.empty()) {
    auto* title = new QCPTextElement(&plot, textOf(plan.title), chartFont(pointSize + 3.0, true));
    title->setTextColor(colors.text);
    layout->addElement(row, 0, title);
    layout->setRowStretchFactor(row, 0.01);
    ++row;
  }

  const QCPRange keys = keyRange(plan);
  auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
  ticker->setTimeZone(QTimeZone::utc());
  ticker->setDateTimeFormat(QString::fromLatin1(tickFormatOfSpan(keys.size()).data()));
  ticker->setTickCount(6);

  QVector<double> times(static_cast<qsizetype>(plan.times.size()));
  std::copy(plan.times.begin(), plan.times.end(), times.begin());
  const int decimals = std::clamp(plan.options.decimals, 0, 6);
  QCPMarginGroup* margins = marginGroup(plot);
  std::vector<QCPAxis*> keyAxes;

  for (std::size_t v = 0; v < plan.viewports.size(); ++v) {
    const graph::ChartViewport& viewport = plan.viewports[v];
    const bool bottom = v + 1 == plan.viewports.size();
    auto* rect = new QCPAxisRect(&plot);
    layout->addElement(row, 0, rect);
    layout->setRowStretchFactor(row, 1.0);
    ++row;
    rect->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    rect->setBackground(QBrush(colors.back));

    QCPAxis* x = rect->axis(QCPAxis::atBottom);
    QCPAxis* y = rect->axis(QCPAxis::atLeft);
    styleAxis(*x, colors, font);
    styleAxis(*y, colors, font);
    x->setTicker(ticker);
    x->setRange(keys);
    x->setTickLabels(bottom);
    if (bottom) x->setLabel(textOf(plan.xAxisLabel));
    x->grid()->setVisible(showsXGrid(plan.options.grid));
    y->grid()->setVisible(showsYGrid(plan.options.grid));
    y->setNumberFormat(QStringLiteral("f"));
    y->setNumberPrecision(decimals);
    y->setLabel(textOf(viewport.axisLabel));
    y->setRange(valueRange(plan, viewport));
    keyAxes.push_back(x);

    QCPLegend* legend = addLegend(*rect, colors, font);
    for (std::size_t index : viewport.subsets) {
      if (index >= plan.subsets.size()) continue;
      const std::vector<double>& values = plan.subsets[index].values;
      const auto count = static_cast<qsizetype>(std::min(values.size(), plan.times.size()));
      QVector<double> ys(count);
      std::copy(values.begin(), values.begin() + count, ys.begin());
      QCPGraph* graph = plot.addGraph(x, y);
      graph->setData(times.mid(0, count), ys, true);
      styleGraph(*graph, plan, index, static_cast<int>(count));
      graph->addToLegend(legend);
    }
  }

  // One X range: a zoom or pan on any viewport moves them all.
  for (QCPAxis* from : keyAxes)
    for (QCPAxis* to : keyAxes)
      if (from != to)
        QObject::connect(from, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), to,
                         qOverload<const QCPRange&>(&QCPAxis::setRange));

  QCPLayer* grid = plot.layer(QStringLiteral("grid"));
  QCPLayer* main = plot.layer(QStringLiteral("main"));
  if (grid && main)
    plot.moveLayer(grid, main, plan.options.gridInFront ? QCustomPlot::limAbove : QCustomPlot::limBelow);

  keepViewportHeightsEqual(plot);
  plot.replot(QCustomPlot::rpQueuedReplot);
}

ChartSpan chartSpanOfPixels(const QCustomPlot& plot, int x1, int x2) {
  if (plot.axisRectCount() == 0) return {};
  const QCPAxis* x = plot.axisRect(0)->axis(QCPAxis::atBottom);
  const double a = x->pixelToCoord(x1);
  const double b = x->pixelToCoord(x2);
  return {std::min(a, b), std::max(a, b)};
}

std::optional<ImageFormat> imageFormatOf(const fs::path& file) {
  std::string ext = file.extension().string();
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  if (ext == ".png") return ImageFormat::Png;
  if (ext == ".jpg" || ext == ".jpeg") return ImageFormat::Jpeg;
  if (ext == ".pdf") return ImageFormat::Pdf;
  if (ext == ".svg") return ImageFormat::Svg;
  return std::nullopt;
}

Status renderChart(const graph::ChartPlan& plan, const fs::path& target, ImageFormat format, int width, int height) {
  if (width <= 0 || height <= 0)
    return makeError(ErrorKind::Usage, "The image size must be positive, not " + std::to_string(width) + "x" +
                                           std::to_string(height));
  std::unique_ptr<QCustomPlot> plot(offscreenPlot(plan, width, height));
  if (!plot) return makeError(ErrorKind::General, "Drawing the chart needs a QApplication");

  // Written beside the target and renamed over it, so a failure leaves
  // neither a half image nor a stray file.
  const fs::path temporary = files::temporarySibling(target);
  const QString name = QString::fromStdString(temporary.string());
  bool written = false;
  switch (format) {
    case ImageFormat::Png: written = plot->savePng(name, width, height); break;
    case ImageFormat::Jpeg: written = plot->saveJpg(name, width, height); break;
    case ImageFormat::Pdf: written = plot->savePdf(name, width, height); break;
    case ImageFormat::Svg: {
      QSvgGenerator svg;
      svg.setFileName(name);
      svg.setSize(QSize(width, height));
      svg.setViewBox(QRect(0, 0, width, height));
      svg.setTitle(textOf(plan.title));
      QCPPainter painter;
      if (painter.begin(&svg)) {
        plot->toPainter(&painter, width, height);
        written = painter.end();
      }
      break;
    }
  }
  std::error_code ec;
  written = written && fs::exists(temporary, ec) && fs::file_size(temporary, ec) > 0 && !ec;
  if (written) fs::rename(temporary, target, ec);
  if (!written || ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return makeError(ErrorKind::Io, "Cannot write " + fromUtf8(target.string()) +
                                        (ec ? ": " + fromUtf8(ec.message()) : std::string()));
  }
  return {};
}

QImage chartImage(const graph::ChartPlan& plan, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  std::unique_ptr<QCustomPlot> plot(offscreenPlot(plan, width, height));
  if (!plot) return {};
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  QCPPainter painter(&image);
  plot->toPainter(&painter, width, height);
  painter.end();
  return image;
}

}  // namespace brevik::platform
