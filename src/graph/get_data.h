#pragma once
// GetData: loads a data file into the loaded-file state and computes what the
// graph plots; zooming into a time range of it and undoing the zoom.
//
// An image-form file (.QX1) holding one memory bank is converted from its
// raw counts. A file of several banks, or a wrapped four-bank logger's file,
// is first written out as a table (.QX2 of the same name) and read in that
// form, as is any .QX2 file opened directly.

#include <filesystem>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "common/clock.h"
#include "common/result.h"
#include "datafile/display_series.h"
#include "datafile/loaded_file.h"
#include "protocol/channel_tables.h"

namespace brevik::graph {

struct LoadEnvironment {
  std::filesystem::path home;  // the program directory: tables, and where a missing file is looked for
  // FahrenheitUnits, HumidityMode, TwelveHourClock, ExportDayFirst are read;
  // a table naming its units sets FahrenheitUnits and HumidityMode.
  settings::LoggerSettings* settings = nullptr;
  protocol::TableReader tableReader;  // empty: the home's table files
};

// Notices the user is shown after a load that went through (stamp warnings,
// the table overflow message). A failed load leaves `state` and `series`
// as they were and returns the message of the failure.
using LoadNotices = std::vector<std::string>;

Result<LoadNotices> getData(datafile::LoadedFile& state, datafile::DisplaySeries& series, const std::filesystem::path& fileName,
                            LoadEnvironment& env);

// The name of the table copy of a multi-bank file.
std::filesystem::path tableCopyName(const std::filesystem::path& dataFile);

// The unit settings a load applies to its conversions.
protocol::UnitSettings unitSettingsOf(const settings::LoggerSettings& settings);

// A zoom request from the graph: the dragged box's time range. Refused zooms
// carry their information message ("To many samples: ...", "Maximum Zoom").
struct ZoomOutcome {
  bool applied = false;
  std::string message;
};

Result<ZoomOutcome> zoomIn(datafile::LoadedFile& state, datafile::DisplaySeries& series, const DateTime& from, const DateTime& to,
                           bool twelveHourClock);
Status undoZoom(datafile::LoadedFile& state, datafile::DisplaySeries& series);

// Image-form zooms longer than this many samples per channel are refused.
inline constexpr std::size_t kMaxZoomSamples = 32320;

}  // namespace brevik::graph
