#include "graph/chart_plan.h"

#include <cmath>
#include <cstdio>

#include "protocol/time_stamps.h"

namespace brevik::graph {

namespace {

constexpr long long kMsPerDay = 86'400'000;

// A stored flag reads as itself when 0 or 1, else as its default.
bool flagOf(std::uint8_t stored, bool fallback) { return stored <= 1 ? stored == 1 : fallback; }


std::string numberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

template <typename T, typename Text>
std::string joined(const std::vector<T>& items, Text text) {
  std::string s;
  for (std::size_t i = 0; i < items.size(); ++i) s += (i > 0 ? "," : "") + text(items[i]);
  return s;
}

}  // namespace

ViewOptions viewOptionsOf(const settings::LoggerSettings& settings) {
  ViewOptions o;
  if (settings.GridMode <= 3) o.grid = static_cast<GridLines>(settings.GridMode);
  if (settings.SymbolSize >= 1 && settings.SymbolSize <= 3) o.fontSize = static_cast<FontSize>(settings.SymbolSize);
  if (settings.ColorMode >= 1 && settings.ColorMode <= 3) o.style = static_cast<ViewingStyle>(settings.ColorMode);
  o.thickLines = flagOf(settings.ThickPlotting, o.thickLines);
  o.markDataPoints = flagOf(settings.MarkDataPoints, o.markDataPoints);
  o.gridInFront = flagOf(settings.GridInFront, o.gridInFront);
  return o;
}

void storeViewOptions(const ViewOptions& options, settings::LoggerSettings& settings) {
  settings.GridMode = static_cast<std::uint8_t>(options.grid);
  settings.SymbolSize = static_cast<std::uint8_t>(options.fontSize);
  settings.ColorMode = static_cast<std::uint8_t>(options.style);
  settings.ThickPlotting = options.thickLines ? 1 : 0;
  settings.MarkDataPoints = options.markDataPoints ? 1 : 0;
  settings.GridInFront = options.gridInFront ? 1 : 0;
}

double chartSeconds(const DateTime& t) {
  const long long days = protocol::daysFromCivil(t.year, t.month, t.day);
  const long long seconds = days * 86'400 + (static_cast<long long>(t.hour) * 60 + t.minute) * 60 + t.second;
  return static_cast<double>(seconds) + t.millisecond / 1000.0;
}

DateTime dateTimeOfChartSeconds(double seconds) {
  // Past the years a DateTime holds (or not a number at all) reads as the
  // epoch: the chart's range came from somewhere else than a file.
  constexpr double kLimit = 2.5e14;  // about 8 million years
  const long long ms = std::isfinite(seconds) && std::fabs(seconds) < kLimit ? std::llround(seconds * 1000.0) : 0;
  long long days = ms / kMsPerDay;
  long long rest = ms % kMsPerDay;
  if (rest < 0) {
    rest += kMsPerDay;
    --days;
  }
  DateTime t;
  protocol::civilFromDays(days, t.year, t.month, t.day);
  t.hour = static_cast<int>(rest / 3'600'000);
  t.minute = static_cast<int>(rest / 60'000 % 60);
  t.second = static_cast<int>(rest / 1000 % 60);
  t.millisecond = static_cast<int>(rest % 1000);
  t.weekday = static_cast<int>(((days % 7) + 11) % 7);  // 1 January 1970 was a Thursday
  return t;
}

std::vector<std::string> describeChart(const ChartPlan& plan, bool twelveHourClock) {
  std::vector<std::string> lines;
  lines.push_back("Caption: " + plan.caption);
  lines.push_back("Title: " + plan.title);
  lines.push_back("X-axis label: " + plan.xAxisLabel);
  lines.push_back("Points: " + std::to_string(plan.times.size()));
  lines.push_back("Samples per point: " + std::to_string(plan.factor));
  lines.push_back("Viewports: " + std::to_string(plan.viewports.size()));
  lines.push_back("Layout: " + joined(plan.viewports, [](const ChartViewport& v) { return std::to_string(v.subsets.size()); }));
  const auto channelOf = [&plan](std::size_t subset) {
    return subset < plan.subsets.size() ? std::to_string(plan.subsets[subset].channel) : std::string("?");
  };
  for (std::size_t v = 0; v < plan.viewports.size(); ++v) {
    const ChartViewport& viewport = plan.viewports[v];
    const std::string name = "Viewport " + std::to_string(v + 1);
    lines.push_back(name + " channels: " + joined(viewport.subsets, channelOf));
    lines.push_back(name + " axis label: " + viewport.axisLabel);
    lines.push_back(name + " scale: " +
                    (viewport.scale.manual ? numberText(viewport.scale.minimum) + "," + numberText(viewport.scale.maximum)
                                           : std::string("auto")));
  }
  for (std::size_t k = 0; k < plan.subsets.size(); ++k) {
    const ChartSubset& subset = plan.subsets[k];
    const std::string name = "Subset " + std::to_string(k + 1);
    lines.push_back(name + " channel: " + std::to_string(subset.channel));
    lines.push_back(name + " legend: " + subset.legend);
    lines.push_back(name + " colour slot: " + std::to_string(subset.colorSlot));
  }
  lines.push_back(std::string("Markers: ") + (plan.markers ? "on" : "off"));
  lines.push_back("X range: " + protocol::formatDisplayStamp(dateTimeOfChartSeconds(plan.xMin), twelveHourClock) + " to " +
                  protocol::formatDisplayStamp(dateTimeOfChartSeconds(plan.xMax), twelveHourClock));
  return lines;
}

}  // namespace brevik::graph
