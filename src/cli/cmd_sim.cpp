// kaldo sim [PROFILE]: a virtual logger on a new pseudo-terminal, in real
// time, until interrupted (Ctrl-C or SIGTERM). Prints the device path for the
// program's port map (COM1=/dev/pts/N) or for --port.

#include <atomic>
#include <csignal>
#include <ostream>

#include "settings/home.h"
#include "cli/command.h"
#include "cli/status_printing.h"
#include "common/clock.h"
#include "sim/logger_profile.h"
#include "sim/pty_logger_host.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "sim";

// A signal handler can only reach a flag of static storage.
std::atomic<bool>& stopRequested() {
  static std::atomic<bool> flag{false};
  return flag;
}

extern "C" void onStopSignal(int) { stopRequested().store(true); }

int run(Context& ctx) {
  std::ostream& out = *ctx.out;
  std::ostream& err = *ctx.err;
  std::string profileName = "default";
  bool named = false;
  for (const std::string& a : ctx.args) {
    if (named || a.rfind("-", 0) == 0) {
      err << "kaldo " << kName << ": unexpected argument '" << a << "'\n"
          << "usage: kaldo " << kName << " [PROFILE]\n";
      return kExitUsage;
    }
    profileName = a;
    named = true;
  }
  const auto shipped = settings::findShippedData(ctx.executableDir, BREVIK_INSTALLED_DATA_DIR) / "sim";
  auto profile = sim::loadSimProfile(profileName, shipped);
  if (!profile) {
    err << "kaldo " << kName << ": " << consoleText(profile.error().message) << "\n";
    return kExitUsage;
  }
  auto host = sim::PtyLoggerHost::open(std::move(*profile), SystemClock().now());
  if (!host) {
    err << "kaldo " << kName << ": " << consoleText(host.error().message) << "\n";
    return kExitFailed;
  }
  stopRequested().store(false);
  auto* const previousInt = std::signal(SIGINT, onStopSignal);
  auto* const previousTerm = std::signal(SIGTERM, onStopSignal);
  out << (*host)->devicePath() << "\n" << std::flush;
  const Status served = (*host)->serve(stopRequested());
  std::signal(SIGINT, previousInt);
  std::signal(SIGTERM, previousTerm);
  if (!served) {
    err << "kaldo " << kName << ": " << consoleText(served.error().message) << "\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

KALDO_COMMAND(kName, "[PROFILE]",
              "run a virtual logger on a new pseudo-terminal and print its device, until interrupted",
              run);

}  // namespace brevik::cli
