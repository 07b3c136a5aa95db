#pragma once
// The writing half of kaldo export: the target's guard, "-" as standard
// output, the notices of the load and the closing line.

#include <filesystem>
#include <string>

#include "cli/command.h"
#include "export/export_options.h"

namespace brevik::cli {

// Exports `source` to `target` ("-": standard output) with the home's
// settings; refuses a target that is a data file's unless `force`.
// Returns the exit status.
int exportToTarget(Context& ctx, const std::filesystem::path& source, const std::string& target,
                   exporting::ExportOptions options, bool force);

}  // namespace brevik::cli
