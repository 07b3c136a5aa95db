#pragma once
// Fuzz entry: kaldo's command lines, up to three run one after another
// (separated by 0x1E bytes, so that one can read what another wrote). The
// first byte of each chooses the command, the rest are its arguments,
// NUL-separated. Each input has a fresh home and working folder of its
// own; path separators are taken out of the arguments, so every file a run
// names is in that folder. The logger is always the built-in virtual one:
// the home's ports.ini maps every COM port to it, and a device named on
// the command line has no '/' (kaldo without Qt has no other anyway).
// Left out: `sim`, which serves a pseudo-terminal until stopped, `answer`,
// which waits for calls until stopped (on the virtual logger, whose line
// never rings, for ever), `graph`, which draws through Qt, and `readings`
// without a small --count, which streams until stopped.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "entry_support.h"

namespace brevik::fuzzing {

inline const std::vector<std::string>& fuzzedKaldoCommands() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
    for (const cli::Command& c : cli::registry())
      if (c.name != "sim" && c.name != "answer" && c.name != "graph") out.push_back(c.name);
    std::sort(out.begin(), out.end());
    return out;
  }();
  return names;
}

// Whether the readings asked for end by themselves, soon.
inline bool readingsAreFew(const std::vector<std::string>& args) {
  bool counted = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string value;
    if (args[i] == "--count") value = i + 1 < args.size() ? args[i + 1] : "";
    else if (args[i].rfind("--count=", 0) == 0) value = args[i].substr(8);
    else continue;
    if (value.size() != 1 || value[0] < '1' || value[0] > '5') return false;
    counted = true;
  }
  return counted;
}

inline std::filesystem::path kaldoFuzzFolder() {
  static const ScratchFolder folder("brevik-fuzz-kaldo");
  // Questions kaldo asks on standard input meet its end at once.
  static const bool quiet = std::freopen("/dev/null", "r", stdin) != nullptr;
  require(quiet);
  return folder.path();
}

// Runs one command line in the current folder; false when it is left out.
inline bool runOneKaldoCommand(std::string_view text, const std::filesystem::path& home) {
  const auto& commands = fuzzedKaldoCommands();
  if (text.empty() || commands.empty()) return false;
  const std::string& command = commands[static_cast<unsigned char>(text[0]) % commands.size()];
  text.remove_prefix(1);
  std::vector<std::string> args;
  if (!text.empty()) args = splitAt(text, '\0', 12);
  for (std::string& a : args) {
    std::replace(a.begin(), a.end(), '/', '_');
    std::replace(a.begin(), a.end(), '\\', '_');
    if (a == "..") a = "_";
  }
  if (command == "readings" && !readingsAreFew(args)) return false;
  std::vector<std::string> argv{"--home", home.string(), command};
  argv.insert(argv.end(), args.begin(), args.end());
  std::cin.clear();
  std::ostringstream out, err;
  const int status = cli::runKaldo(argv, kaldoFuzzFolder(), out, err);
  require(status == cli::kExitOk || status == cli::kExitFailed || status == cli::kExitUsage);
  // A refusal or failure always says something.
  require(status == cli::kExitOk || !err.str().empty() || !out.str().empty());
  return true;
}

inline void runKaldoCommandLine(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path work = kaldoFuzzFolder() / "run";
  std::filesystem::remove_all(work);
  std::filesystem::create_directories(work / "home");
  // Every COM port of the settings is the virtual logger: no run opens a
  // device of the machine.
  std::ofstream ports(work / "home" / "ports.ini");
  for (int port = 0; port <= 16; ++port) ports << "COM" << port << "=sim\n";
  ports.close();
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(work);
  for (const std::string& line : splitAt(bytesAsText(data, size), '\x1E', 3))
    if (!runOneKaldoCommand(line, work / "home")) break;
  std::filesystem::current_path(before);
}

}  // namespace brevik::fuzzing
