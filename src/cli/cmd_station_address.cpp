// kaldo station-address N [--port DEVICE] [--trace[=FILE]]: gives the one
// logger on the line the station address N (0-255), as the station address
// window's SEND does. The logger is asked at address 00, which every logger
// answers; the Logger Settings are not changed. Refused in network mode,
// where more than one logger could take the new address.

#include <ostream>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/console_link.h"
#include "cli/link_session.h"
#include "cli/logger_changes.h"
#include "common/clock.h"
#include "program/desktop_session.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "station-address";
constexpr const char* kUsage = "usage: kaldo station-address N [--port DEVICE] [--trace[=FILE]]\n";

int run(Context& ctx) {
  std::ostream& err = *ctx.err;
  LinkOptions options;
  const auto value = takeOneValue(ctx.args, options, err, kName, kUsage);
  if (!value) return kExitUsage;
  const auto address = parseStationAddress(*value);
  if (!address) {
    err << "kaldo " << kName << ": '" << *value << "' is not a station address (0 to 255)\n" << kUsage;
    return kExitUsage;
  }

  settings::LoggerSettings settings = settings::loadSettings(ctx.home);
  if (settings.NetworkMode != 0) {
    *ctx.out << messageLines(program::kSingleLoggerOnlyText);
    return kExitFailed;
  }
  const SystemClock clock;
  LinkSession session(ctx, kName, settings, options, clock);
  if (!session.ready()) return session.exitCode();
  const auto outcome = programStationAddress(session, *address);
  if (!outcome || !outcome->succeeded) {
    session.explainFailure();
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

KALDO_COMMAND(kName, "N [--port DEVICE] [--trace[=FILE]]",
              "give the one logger on the line the station address N (0-255)", run);

}  // namespace brevik::cli
