#pragma once
// The export that follows a download when AutoExport is on, and the
// one-call export of a data file by name (kaldo export): load the file as
// the graph would, then write it with the chosen options.

#include <filesystem>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "common/result.h"
#include "export/export_options.h"

namespace brevik::program {

// Loads `dataFile` with the home's unit settings and exports it to
// `target`. Returns the notices of the load (stamp warnings and the like).
Result<std::vector<std::string>> exportDataFile(const std::filesystem::path& dataFile,
                                                const std::filesystem::path& target, const exporting::ExportOptions& options,
                                                const settings::LoggerSettings& settings,
                                                const std::filesystem::path& home);

// The options of the automatic export: CSV form, no note, the stored
// averaging count, header option and day-first setting.
exporting::ExportOptions autoExportOptions(const settings::LoggerSettings& settings);

// After a download: exports `dataFile` to `csvTarget` when AutoExport is on
// (nothing to do, and success, when it is off).
Status exportAfterDownload(const std::filesystem::path& dataFile, const std::filesystem::path& csvTarget,
                           const settings::LoggerSettings& settings, const std::filesystem::path& home);

}  // namespace brevik::program
