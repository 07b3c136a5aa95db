#pragma once
// Setup files (.SET): one Logger Configuration record, byte for byte, with
// no header. Two names have a fixed role in the program home: "default.set",
// written whenever the current setup file is missing, and "alloff.set", the
// set-up that switches every channel off.

#include <filesystem>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "common/result.h"
#include "setup/logger_configuration.h"

namespace brevik::setup {

inline constexpr std::string_view kDefaultSetupName = "default.set";
inline constexpr std::string_view kAllOffSetupName = "alloff.set";

// The setup file to open for the current setup file name of the settings.
// A name whose last part is "default.set" or "alloff.set" (in any case,
// with '/' or '\' before it) always means that file, in lower case, in the
// program home, wherever the stored path pointed; other relative names are
// taken in the home as well, absolute ones as they stand.
std::filesystem::path resolveSetupFileName(std::string_view setupFileName, const std::filesystem::path& home);

// The name part of a stored file name: what follows the last '/' or '\'.
std::string_view fileNamePart(std::string_view name);

// The file that the send-named-setup operation reads: the name followed by
// ".set".
std::filesystem::path namedSetupFilePath(std::string_view nameWithoutExtension, const std::filesystem::path& home);

// Texts the callers show or log (Windows-1252).
std::string fileIoErrorText(std::string_view fileName);          // "File I/O error: " + name
std::string sendSetupNotFoundText(std::string_view fileName);    // "Impossible d'envoi  ; " + name + " not found"
std::string setupFileNotFoundText(std::string_view fileName);    // "Setup File: " + name + " not found;"

// A file name as the user's texts show it (Windows-1252).
std::string displayName(const std::filesystem::path& path);

// Reads one record from the first 781 bytes of the file; extra bytes are
// ignored. Every failure carries the text "File I/O error: " + name, with
// the kind telling a missing file (NotFound), a short one (InvalidData) and
// a read failure (Io) apart.
Result<LoggerConfiguration> readSetupFile(const std::filesystem::path& path);

// Creates or replaces the file with the record, atomically: a failed write
// leaves the old file as it was. Fails (Io) with "File I/O error: " + name.
Status writeSetupFile(const std::filesystem::path& path, const LoggerConfiguration& record);

struct DefaultSetup {
  LoggerConfiguration record;  // the built-in default, usable even when not written
  Status written;
};

// Builds the built-in default for the clock's "now" and writes it to
// "default.set" in the home.
DefaultSetup writeDefaultSetupFile(const std::filesystem::path& home, const Clock& clock);

// The configuration "alloff.set" holds: the built-in default with every
// channel switched off, which stops a logger it is sent to.
LoggerConfiguration allOffConfiguration(const Clock& clock);

}  // namespace brevik::setup
