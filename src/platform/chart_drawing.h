#pragma once
// Draws a chart plan with QCustomPlot: one axis rect per viewport stacked
// top to bottom with a shared margin group, one shared X range on a
// date-time axis, subsets coloured by their channel's slot. The graph window
// draws on its QCustomPlot; `kaldo graph` renders the same drawing headless.

#include <filesystem>
#include <optional>

#include "common/result.h"
#include "graph/chart_plan.h"

class QCustomPlot;
class QPainter;

namespace brevik::platform {

// Replaces whatever the plot shows with the plan.
void drawChart(QCustomPlot& plot, const graph::ChartPlan& plan);

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

}  // namespace brevik::platform
