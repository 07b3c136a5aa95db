#pragma once
// The export that follows a download when AutoExport is on, and the
// one-call export of a data file by name (kaldo export): load the file as
// the graph would, then write it with the chosen options.

#include <filesystem>
#include <string>
#include <vector>

#include "app/logger_settings.h"
#include "common/result.h"
#include "export/export_options.h"

namespace brevik::exporting {

// Loads `dataFile` with the home's unit settings and exports it to
// `target`. Returns the notices of the load (stamp warnings and the like).
Result<std::vector<std::string>> exportDataFile(const std::filesystem::path& dataFile,
                                                const std::filesystem::path& target, const ExportOptions& options,
                                                const app::LoggerSettings& settings,
                                                const std::filesystem::path& home);

// The options of the automatic export: CSV form, no note, the stored
// averaging count, header option and day-first setting.
ExportOptions autoExportOptions(const app::LoggerSettings& settings);

// After a download: exports `dataFile` to `csvTarget` when AutoExport is on
// (nothing to do, and success, when it is off).
Status exportAfterDownload(const std::filesystem::path& dataFile, const std::filesystem::path& csvTarget,
                           const app::LoggerSettings& settings, const std::filesystem::path& home);

}  // namespace brevik::exporting
