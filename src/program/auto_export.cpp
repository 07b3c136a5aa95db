#include "program/auto_export.h"

#include <memory>

#include "export/data_export.h"
#include "graph/get_data.h"

namespace brevik::program {

Result<std::vector<std::string>> exportDataFile(const std::filesystem::path& dataFile,
                                                const std::filesystem::path& target, const exporting::ExportOptions& options,
                                                const settings::LoggerSettings& settings,
                                                const std::filesystem::path& home) {
  // A table may name its own units; that choice stays with this export.
  settings::LoggerSettings local = settings;
  graph::LoadEnvironment env;
  env.home = home;
  env.settings = &local;
  auto file = std::make_unique<datafile::LoadedFile>();
  auto series = std::make_unique<datafile::DisplaySeries>();
  auto notices = graph::getData(*file, *series, dataFile, env);
  if (!notices) return notices.error();
  if (auto status = exporting::exportLoadedFile(*file, target, options, home); !status) return status.error();
  return notices;
}

exporting::ExportOptions autoExportOptions(const settings::LoggerSettings& settings) {
  exporting::ExportOptions o;
  o.csv = true;
  o.averaging = exporting::effectiveAveraging(settings.ExportAveraging);
  o.noHeader = settings.ExportNoHeader != 0;
  o.dayFirst = settings.ExportDayFirst != 0;
  return o;
}

Status exportAfterDownload(const std::filesystem::path& dataFile, const std::filesystem::path& csvTarget,
                           const settings::LoggerSettings& settings, const std::filesystem::path& home) {
  if (!settings.AutoExport) return {};
  auto done = exportDataFile(dataFile, csvTarget, autoExportOptions(settings), settings, home);
  if (!done) return done.error();
  return {};
}

}  // namespace brevik::program
