#pragma once
// Everything the chart shows, as plain values: the graph window and
// `kaldo graph` draw from this and from nothing else, so a script and the
// window show the same chart. Texts are Windows-1252 bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/clock.h"
#include "graph/graph_colors.h"
#include "graph/viewports.h"
#include "settings/logger_settings.h"

namespace brevik::graph {

// The stored graph options use these values in the Logger Settings.
enum class GridLines : std::uint8_t { None = 0, YAxis = 1, XAxis = 2, Both = 3 };         // GridMode
enum class FontSize : std::uint8_t { Small = 1, Medium = 2, Large = 3 };                  // SymbolSize
enum class ViewingStyle : std::uint8_t { Color = 1, Monochrome = 2, MonochromeSymbols = 3 };  // ColorMode
// Not stored: the file name under the X axis.
enum class FileNameShown : std::uint8_t { NameOnly, PathAndName, None };

struct ViewOptions {
  GridLines grid = GridLines::Both;
  FontSize fontSize = FontSize::Medium;
  ViewingStyle style = ViewingStyle::Color;
  bool thickLines = false;      // ThickPlotting
  bool markDataPoints = true;   // MarkDataPoints (markers show only while F = 1)
  bool gridInFront = false;     // GridInFront
  int decimals = 2;             // not stored
  FileNameShown fileName = FileNameShown::NameOnly;  // not stored
  friend bool operator==(const ViewOptions&, const ViewOptions&) = default;
};

// The stored options as the window starts with them (decimals 2, name
// only); values out of range read as the defaults.
ViewOptions viewOptionsOf(const settings::LoggerSettings& settings);
// Writes the stored ones back (the two not stored are left out).
void storeViewOptions(const ViewOptions& options, settings::LoggerSettings& settings);

// A Y axis scale: automatic, or manual between two values.
struct AxisScale {
  bool manual = false;
  double minimum = 0.0;
  double maximum = 0.0;
  friend bool operator==(const AxisScale&, const AxisScale&) = default;
};

// One plotted line: a visible channel.
struct ChartSubset {
  int channel = 1;            // 1-4
  std::string legend;         // legendOf(description)
  int colorSlot = 1;          // the slot of the channel number
  std::vector<double> values; // Y of each point, as many as ChartPlan::times
};

struct ChartViewport {
  std::vector<std::size_t> subsets;  // indexes into ChartPlan::subsets, top viewport first
  std::string axisLabel;
  AxisScale scale;
};

struct ChartPlan {
  std::string caption;     // window caption: product title + " Graph" (or " / Real Time Graph")
  std::string title;       // the session description, trailing blanks removed
  std::string xAxisLabel;  // the file name as FileNameShown says
  bool realTime = false;   // the readings of the real-time graph, not a file
  bool zoomed = false;
  std::size_t factor = 1;  // F, samples per point
  // X of each point in chart seconds (see chartSeconds), shared by every subset.
  std::vector<double> times;
  std::vector<ChartSubset> subsets;
  std::vector<ChartViewport> viewports;  // one per viewport, top first
  bool markers = false;                  // data-point markers drawn
  ViewOptions options;
  ColorSlots colors = kFactoryColorSlots;
  double xMin = 0.0;  // the X range shown, chart seconds
  double xMax = 0.0;
};

// Chart seconds: seconds since 1 January 1970 00:00 counted on the logger's
// own clock, read as UTC (the chart shows them as UTC so the times are the
// file's, whatever the machine's time zone).
double chartSeconds(const DateTime& t);
DateTime dateTimeOfChartSeconds(double seconds);

// What the chart shows as "Name: value" lines (kaldo graph --describe):
// caption, title, X-axis label, P, F, the viewport count and layout, for each
// viewport its channels, axis label and scale, for each subset its channel,
// legend and colour slot, markers, the X range.
std::vector<std::string> describeChart(const ChartPlan& plan, bool twelveHourClock);

}  // namespace brevik::graph
