#pragma once
// The graph window (TGraph) without its window: the loaded file, what is
// shown of it (visible channels, viewports, zoom, view options) and every
// operation of the window's menus, each leaving the model in a state the
// chart is drawn from (plan()). Failures leave the model as it was.
//
// The same model draws the real-time graph while a RealTime exchange feeds
// it (see startRealTime).

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/result.h"
#include "datafile/display_series.h"
#include "datafile/loaded_file.h"
#include "graph/chart_plan.h"
#include "graph/get_data.h"
#include "graph/graph_colors.h"
#include "graph/real_time_graph.h"
#include "graph/viewports.h"
#include "protocol/logger_status.h"
#include "settings/logger_settings.h"

namespace brevik::graph {

class GraphModel {
 public:
  // `settings` hold the stored options and are written as they change.
  GraphModel(settings::LoggerSettings& settings, std::filesystem::path home, std::string productTitle);

  // Opens a data file: zoom cleared, GetData; on success the name is stored
  // as DataFileName, every channel visible and the layout chosen. A failure
  // returns the load's message and changes nothing.
  Result<LoadNotices> open(const std::filesystem::path& fileName);
  bool loaded() const { return loaded_; }

  // The chart's drag-zoom box [from, to]. A refused zoom comes back with its
  // information message and changes nothing.
  Result<ZoomOutcome> zoomIn(const DateTime& from, const DateTime& to);
  Status undoZoom();
  // The live zoom while the real-time graph runs.
  bool zoomed() const { return realTime_ ? realTimeGraph_.zoomed() : file_.zoomed; }

  // Temperature units and humidity mode (stored in the settings). A table
  // whose units the file fixed is reloaded from its .QX1 file; when that
  // fails the old setting is restored and the error returned.
  Status setFahrenheit(bool fahrenheit);
  Status setHumidityMode(int mode);  // 0 % RH, 1 dew point, 2 wet bulb

  const ViewOptions& options() const { return options_; }
  void setOptions(const ViewOptions& options);  // stores the stored ones

  const ColorSlots& colors() const { return colors_; }
  void setColors(const ColorSlots& colors) { colors_ = colors; }

  // The arrangement the viewport dialog edits.
  int viewportCount() const;
  ViewportLayout viewportLayout() const;
  const std::array<bool, 4>& visible() const { return visible_; }
  std::vector<int> visibleChannels() const;
  // The dialog's OK: stored in the settings and applied.
  void applyViewports(int count, const ViewportLayout& layout, const std::array<bool, 4>& visible);

  // The real-time graph: started on the status of the exchange's logger
  // (its channels, types, descriptions and units), fed reading by reading
  // (the converted values of channels 1-4, the active ones drawn), stopped when the
  // exchange ends. While it runs, open() loads nothing, the file's
  // zoomIn/undoZoom do nothing (the realTime ones follow the live rules)
  // and plan() draws the readings.
  void startRealTime(const protocol::LoggerStatus& status, double now);
  RealTimeGraph::Appended appendReading(const std::array<float, 4>& values, double now);
  void realTimeZoomIn(double from, double to, double now);
  void realTimeUndoZoom(double now);
  void stopRealTime();
  bool realTime() const { return realTime_; }
  const RealTimeGraph& realTimeGraph() const { return realTimeGraph_; }

  const datafile::LoadedFile& file() const { return file_; }
  // The loaded file as the text export reads it: its converter keeps the
  // values a humidity channel is computed from while it converts.
  datafile::LoadedFile& exportSource() { return file_; }
  const datafile::DisplaySeries& series() const { return *series_; }
  settings::LoggerSettings& settings() { return *settings_; }

  // What the chart shows now.
  ChartPlan plan() const;

 private:
  struct UnitsBefore {
    std::uint8_t fahrenheit;
    std::uint8_t humidityMode;
  };
  void chooseLayoutUnlessKept();
  ChartPlan realTimePlan() const;
  Status applyUnits(const UnitsBefore& before);
  void convertImageAgain();
  Status reloadSource();

  settings::LoggerSettings* settings_;
  std::filesystem::path home_;
  std::string productTitle_;
  datafile::LoadedFile file_;
  std::unique_ptr<datafile::DisplaySeries> series_;
  bool loaded_ = false;
  bool realTime_ = false;
  RealTimeGraph realTimeGraph_;
  bool keepLayout_ = false;
  std::array<bool, 4> visible_{true, true, true, true};
  ViewOptions options_;
  ColorSlots colors_ = kFactoryColorSlots;
};

}  // namespace brevik::graph
