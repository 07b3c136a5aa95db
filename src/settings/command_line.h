#pragma once
// The start-up command line of brevik: up to four positional arguments
//
//     brevik [DATAFILE [MODE [STATION [PHONE]]]]
//
// MODE "s" sends the setup file DATAFILE (.set), "r" receives into DATAFILE
// (.qx1, or .csv for one line of current readings), "h" hangs up the modem;
// any other MODE (or none) opens the graph of DATAFILE. STATION "0" means a
// single logger, anything else the station address in a network. PHONE "0"
// means a direct line, a text shorter than five characters a phone book
// entry counted from 1, anything longer the number to dial. A short PHONE
// that is not a number from 1 up ("abc", "00", "-2") names no entry: rather
// than dial whichever site happens to be selected, the run stops with
// "Invalid phone book entry number" in the unattended log.
//
// Long options never collide with these: --home DIR, --demo, --help and
// --version, and "--" ends the options.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/logger_settings.h"
#include "settings/runtime_globals.h"
#include "common/result.h"

namespace brevik::settings {

inline constexpr std::string_view kNoSetFileText = "Invalid command line; no .set file type";
inline constexpr std::string_view kBadExtensionText = "Invalid file name extension";
inline constexpr std::string_view kBadPhoneEntryText = "Invalid phone book entry number";
inline constexpr std::string_view kHangUpDoneText = "session finished, modem on hook";

enum class StartupAction {
  None,         // no arguments: the program starts normally
  SendSetup,    // send the setup file named by SetupFileName
  ReceiveData,  // download into the .qx1 file named by the first argument
  ReceiveCsv,   // status exchange writing current readings to the .csv file
  HangUp,       // run the hang-up sequence, then log and quit with kHangUpDoneText
  GraphFile,    // open the graph of the current data file
  LogAndQuit,   // the command line is invalid: log and quit with logText
};

struct CommandLineOutcome {
  LoggerSettings settings;          // with the changes of the arguments
  CommandLineFlags flags;
  std::string currentDataFileName;  // Windows-1252
  std::string fileArgument;         // argument 1 as given (the main window uses it)
  StartupAction action = StartupAction::None;
  std::string logText;              // for LogAndQuit
};

// Applies the positional arguments (Windows-1252, at most the first four are
// read) to the settings. Arguments 4 and 3 are applied before argument 2, so
// a LogAndQuit outcome still carries their changes (the program then ends
// without saving them).
CommandLineOutcome applyCommandLine(const std::vector<std::string>& arguments,
                                    const LoggerSettings& settings);

// The extension of a file name from its last '.', upper-cased (".QX1"), or ""
// when the last path component has no '.'.
std::string upperExtension(std::string_view fileName);

// ---- brevik's argv ---------------------------------------------------------

struct ProgramArguments {
  std::vector<std::string> positional;  // as given (UTF-8 from the system)
  std::optional<std::filesystem::path> home;
  bool demo = false;
  bool help = false;
  bool version = false;
};

// Separates the long options from the positional arguments. Usage error for
// an unknown long option or --home without a directory.
Result<ProgramArguments> splitProgramArguments(const std::vector<std::string>& argv);

// The usage text of brevik --help.
std::string programUsage();

}  // namespace brevik::settings
