#pragma once
// Draws a chart plan with QCustomPlot: one axis rect per viewport stacked
// top to bottom with a shared margin group, one shared X range on a
// date-time axis, subsets coloured by their channel's slot. The graph window
// draws on its QCustomPlot; `kaldo graph` renders the same drawing headless.

#include <filesystem>
#include <optional>
#include <string_view>

#include "common/result.h"
#include "graph/chart_plan.h"

class QCustomPlot;
class QImage;
class QPainter;

namespace brevik::platform {

// Replaces whatever the plot shows with the plan and asks for one queued
// replot (a widget repaints at the next turn of the event loop; the image
// functions below draw by themselves).
void drawChart(QCustomPlot& plot, const graph::ChartPlan& plan);

// The date-time format of the X tick labels for a shown span of that many
// seconds: seconds only when they matter, the date always readable.
std::string_view tickFormatOfSpan(double seconds);

// The chart seconds of two horizontal pixel positions of the plot (a
// dragged zoom box), in time order.
struct ChartSpan {
  double from = 0.0;
  double to = 0.0;
};
ChartSpan chartSpanOfPixels(const QCustomPlot& plot, int x1, int x2);

enum class ImageFormat { Png, Jpeg, Pdf, Svg };
// The format a file name asks for by its extension (png, jpg/jpeg, pdf, svg).
std::optional<ImageFormat> imageFormatOf(const std::filesystem::path& file);

// Draws the plan offscreen at width x height pixels and writes the image
// atomically (nothing is left behind when writing fails). Needs a
// QApplication (the offscreen platform will do).
Status renderChart(const graph::ChartPlan& plan, const std::filesystem::path& target, ImageFormat format, int width,
                   int height);

// The same drawing as a raster image (clipboard, benchmarks); a null image
// without a QApplication.
QImage chartImage(const graph::ChartPlan& plan, int width, int height);

}  // namespace brevik::platform
