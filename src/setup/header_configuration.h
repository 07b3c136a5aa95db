#pragma once
// Taking a Logger Configuration out of the text header of a logger data file
// (.QX1), so a logger can be set up again the way it was when the data were
// recorded. Only the fields the header carries change; the rest of the
// record keeps its values.

#include <filesystem>
#include <string_view>

#include "common/result.h"
#include "setup/logger_configuration.h"

namespace brevik::setup {

inline constexpr std::string_view kFileCorruptText = "File corrupt or invalid";

// The record `base` with the header's fields applied. Fails (InvalidData,
// "File corrupt or invalid") when line 2 is not 21, 24 or 26 characters
// long, when the header ends before its last needed line, or when a number
// line is not a number of 0-255; `base` is then not to be changed.
Result<LoggerConfiguration> configurationFromDataHeader(std::string_view fileText,
                                                        const LoggerConfiguration& base);

// The same from a file; a file that cannot be read fails with
// "File I/O error: " + its name.
Result<LoggerConfiguration> readConfigurationFromDataFile(const std::filesystem::path& path,
                                                          const LoggerConfiguration& base);

// Whether a file name ends in ".QX1", in any case.
bool isDataFileName(std::string_view fileName);

}  // namespace brevik::setup
