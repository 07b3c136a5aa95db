#pragma once
// kaldo's subcommands. Each lives in a file of its own and registers itself
// with KALDO_COMMAND; main() only parses the common options and dispatches.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace brevik::cli {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the operation ran and failed
inline constexpr int kExitUsage = 2;   // the command line was wrong

struct Context {
  std::filesystem::path home;           // the program home, created and seeded
  std::filesystem::path executableDir;  // where kaldo runs from
  std::vector<std::string> args;        // arguments after the subcommand name
  // Standard output and error through the console writer (console_writer.h).
  std::ostream* out = nullptr;
  std::ostream* err = nullptr;
  // Where data written to standard output as a file goes ("-" as a target):
  // the bytes as they are, or the console writer when it is a terminal.
  std::ostream* dataOut = nullptr;
  // Whether standard error is a terminal: progress is drawn in place only
  // there. False for in-memory runs (tests, benchmarks).
  bool errIsTerminal = false;
  // --json was given to a command that prints JSON (json_output.h).
  bool json = false;
};

// A command that takes --json says so when it registers.
inline constexpr bool kPrintsJson = true;

struct Command {
  std::string name;
  std::string synopsis;  // one line: arguments
  std::string summary;   // one line: what it does
  std::function<int(Context&)> run;
  // --json is taken out of its arguments and set in the context.
  bool json = false;
};

std::vector<Command>& registry();
const Command* findCommand(const std::string& name);

struct Registrar {
  explicit Registrar(Command c) { registry().push_back(std::move(c)); }
};

// Runs kaldo with argv-style arguments (without the program name); the
// testable whole of main(). `errIsTerminal` and `outIsTerminal` say whether
// `err` and `out` are terminals. No exception leaves it: one that a command
// lets through is reported on `err` and the run fails.
int runKaldo(const std::vector<std::string>& args, const std::filesystem::path& executableDir,
             std::ostream& out, std::ostream& err, bool errIsTerminal = false, bool outIsTerminal = false);

}  // namespace brevik::cli

#define KALDO_CONCAT2(a, b) a##b
#define KALDO_CONCAT(a, b) KALDO_CONCAT2(a, b)
#define KALDO_COMMAND(...) \
  static const ::brevik::cli::Registrar KALDO_CONCAT(kaldoCommand_, __LINE__){::brevik::cli::Command{__VA_ARGS__}}
