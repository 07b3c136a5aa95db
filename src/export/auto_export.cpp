#include "export/auto_export.h"

#include <memory>

#include "export/data_export.h"
#include "graph/get_data.h"

namespace brevik::exporting {

Result<std::vector<std::string>> exportDataFile(const std::filesystem::path& dataFile,
                                                const std::filesystem::path& target, const ExportOptions& options,
                                                const app::LoggerSettings& settings,
                                                const std::filesystem::path& home) {
  // A table may name its own units; that choice stays with this export.
  app::LoggerSettings local = settings;
  graph::LoadEnvironment env;
  env.home = home;
  env.settings = &local;
  auto file = std::make_unique<graph::LoadedFile>();
  auto series = std::make_unique<graph::DisplaySeries>();
  auto notices = graph::getData(*file, *series, dataFile, env);
  if (!notices) return notices.error();
  if (auto status = exportLoadedFile(*file, target, options, home); !status) return status.error();
  return notices;
}

ExportOptions autoExportOptions(const app::LoggerSettings& settings) {
  ExportOptions o;
  o.csv = true;
  o.averaging = effectiveAveraging(settings.ExportAveraging);
  o.noHeader = settings.ExportNoHeader != 0;
  o.dayFirst = settings.ExportDayFirst != 0;
  return o;
}

Status exportAfterDownload(const std::filesystem::path& dataFile, const std::filesystem::path& csvTarget,
                           const app::LoggerSettings& settings, const std::filesystem::path& home) {
  if (!settings.AutoExport) return {};
  auto done = exportDataFile(dataFile, csvTarget, autoExportOptions(settings), settings, home);
  if (!done) return done.error();
  return {};
}

}  // namespace brevik::exporting
