#include <algorithm>
#include <cstdlib>
#include <exception>
#include <new>
#include <ostream>

#include "settings/home.h"
#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/console_writer.h"
#include "common/cp1252.h"

namespace brevik::cli {

std::vector<Command>& registry() {
  static std::vector<Command> commands;
  return commands;
}

const Command* findCommand(const std::string& name) {
  for (const Command& c : registry())
    if (c.name == name) return &c;
  return nullptr;
}

namespace {

void printHelp(std::ostream& out) {
  out << "kaldo " BREVIK_VERSION " - the command-line companion of Brevik Logger\n"
         "\n"
         "usage: kaldo [--home DIR] COMMAND [ARGS...]\n"
         "       kaldo --help | --version\n"
         "\n"
         "Options:\n"
         "  --home DIR   use DIR as the program home (else BREVIK_HOME, the program's\n"
         "               own directory when writable, or the per-user data directory)\n"
         "  --help       show this help; 'kaldo COMMAND --help' shows a command's usage\n"
         "  --version    show the version\n"
         "\n"
         "Commands:\n";
  std::vector<const Command*> sorted;
  for (const Command& c : registry()) sorted.push_back(&c);
  std::sort(sorted.begin(), sorted.end(),
            [](const Command* a, const Command* b) { return a->name < b->name; });
  for (const Command* c : sorted) {
    std::string head = "  " + c->name;
    if (head.size() < 18) head.resize(18, ' ');
    out << head << c->summary << "\n";
  }
  out << "\nA command whose usage ('kaldo COMMAND --help') shows [--json] prints its result as\n"
         "JSON with --json: one document, or one object a line for live readings.\n"
         "\nExit status: 0 success, 1 the operation failed, 2 bad usage.\n";
}

// Takes every --json out of `args`; whether there was one.
bool takeJsonOption(std::vector<std::string>& args) {
  const auto kept = std::remove(args.begin(), args.end(), std::string("--json"));
  const bool found = kept != args.end();
  args.erase(kept, args.end());
  return found;
}

int runCommandLine(const std::vector<std::string>& args, const std::filesystem::path& executableDir,
                   std::ostream& out, std::ostream& err, std::ostream& dataOut, bool errIsTerminal) {
  std::optional<std::filesystem::path> homeArgument;
  std::size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      printHelp(out);
      return kExitOk;
    }
    if (a == "--version") {
      out << "kaldo " BREVIK_VERSION "\n";
      return kExitOk;
    }
    if (a == "--home" || a.rfind("--home=", 0) == 0) {
      if (a == "--home") {
        if (i + 1 >= args.size()) {
          err << "kaldo: --home needs a directory\n";
          return kExitUsage;
        }
        homeArgument = args[++i];
      } else {
        homeArgument = a.substr(7);
      }
      continue;
    }
    break;
  }
  if (i >= args.size()) {
    printHelp(err);
    return kExitUsage;
  }
  const Command* command = findCommand(args[i]);
  if (!command) {
    err << "kaldo: unknown command '" << args[i] << "' (see kaldo --help)\n";
    return kExitUsage;
  }
  Context ctx;
  ctx.executableDir = executableDir;
  ctx.args.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
  ctx.out = &out;
  ctx.err = &err;
  ctx.dataOut = &dataOut;
  ctx.errIsTerminal = errIsTerminal;
  if (std::find(ctx.args.begin(), ctx.args.end(), "--help") != ctx.args.end()) {
    out << "usage: kaldo " << command->name << (command->synopsis.empty() ? "" : " ")
        << command->synopsis
        << (command->json && command->synopsis.find("--json") == std::string::npos ? " [--json]" : "") << "\n" << command->summary << "\n";
    return kExitOk;
  }
  if (command->json) ctx.json = takeJsonOption(ctx.args);

  auto home = settings::chooseHome(settings::homeInputsFromEnvironment(homeArgument, executableDir));
  if (!home) {
    err << "kaldo: " << home.error().message << "\n";
    return kExitFailed;
  }
  ctx.home = *home;
  const auto data = settings::findShippedData(executableDir, BREVIK_INSTALLED_DATA_DIR);
  // A home that cannot be seeded (read-only) still serves every command
  // that does not need the missing files; one that does says which it lacks.
  if (auto seeded = settings::seedHome(ctx.home, data); !seeded)
    err << "kaldo: warning: " << seeded.error().message << "\n";
  const settings::SettingsFileCheck settingsFile = settings::checkSettingsFile(ctx.home);
  if (const std::string warning = settings::outOfRangeWarning(settingsFile); !warning.empty())
    err << "kaldo: warning: " << toUtf8(warning) << "\n";
  return command->run(ctx);
}

}  // namespace

int runKaldo(const std::vector<std::string>& args, const std::filesystem::path& executableDir,
             std::ostream& out, std::ostream& err, bool errIsTerminal, bool outIsTerminal) {
  ConsoleStream console(out, false);
  ConsoleStream consoleErr(err, errIsTerminal);
  std::ostream& dataOut = outIsTerminal ? static_cast<std::ostream&>(console) : out;
  int status = kExitFailed;
  try {
    status = runCommandLine(args, executableDir, console, consoleErr, dataOut, errIsTerminal);
  } catch (const std::bad_alloc&) {
    consoleErr << "kaldo: out of memory\n";
  } catch (const std::exception& e) {
    consoleErr << "kaldo: internal error: " << e.what() << "\n";
  } catch (...) {
    consoleErr << "kaldo: internal error\n";
  }
  console.flush();
  consoleErr.flush();
  return status;
}

}  // namespace brevik::cli
