#pragma once
// The program home: the one directory holding kvlog.ini, QXLOG.TXT, setup
// files, colour files, scaling tables and phone lists. It is, in order, the
// --home argument, the BREVIK_HOME variable, the executable's directory when
// it is writable (a portable install; never a system directory such as
// /usr/bin, which an administrator can write too), else the per-user data
// directory ($XDG_DATA_HOME/brevik or ~/.local/share/brevik on Linux).
// A relative --home or BREVIK_HOME is made absolute, since the home becomes
// the current directory.

#include <filesystem>
#include <optional>
#include <string>

#include "common/result.h"

namespace brevik::settings {

struct HomeInputs {
  std::optional<std::filesystem::path> homeArgument;  // --home DIR
  std::optional<std::string> homeVariable;            // BREVIK_HOME
  std::filesystem::path executableDir;                // may be empty when unknown
  std::optional<std::string> xdgDataHome;             // XDG_DATA_HOME
  std::optional<std::string> userHome;                // HOME (or USERPROFILE)
  std::optional<std::string> appData;                 // APPDATA on Windows
};

// The inputs as this process sees them (environment, executable path).
HomeInputs homeInputsFromEnvironment(const std::optional<std::filesystem::path>& homeArgument,
                                     const std::filesystem::path& executableDir);

// Picks the home directory by the order above. Fails only when no candidate
// can be named at all.
Result<std::filesystem::path> chooseHome(const HomeInputs& inputs);

// Creates the home if needed and copies every shipped file of `dataDir` that
// the home lacks. A file already in the home is never overwritten.
Status seedHome(const std::filesystem::path& home, const std::filesystem::path& dataDir);

// Where the shipped files are: BREVIK_DATA_DIR, <exe>/data, <exe>/../share/brevik,
// then the build's own data directory.
std::filesystem::path findShippedData(const std::filesystem::path& executableDir,
                                      const std::filesystem::path& buildDataDir);

// The directory of the running executable, or empty when it cannot be found.
std::filesystem::path executableDirectory(const char* argv0);

}  // namespace brevik::settings
