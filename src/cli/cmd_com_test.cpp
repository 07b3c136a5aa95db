// kaldo com-test [--port DEVICE] [--trace[=FILE]]: the com test of brevik's
// Utilities menu - at 1200 baud, a DTR pulse, then "AT" - with its verdict
// on standard output. Exit status 0 only when the "AT" came back alone
// ("Com Test OK": the cable's far end is looped back); a modem answering,
// a mismatch or silence exit 1.

#include <string>

#include "cli/command.h"
#include "cli/link_session.h"
#include "common/clock.h"
#include "link/modem_utilities.h"
#include "settings/logger_settings.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "com-test";
constexpr const char* kUsage = "usage: kaldo com-test [--port DEVICE] [--trace[=FILE]]\n";

int run(Context& ctx) {
  LinkOptions options;
  if (auto failed = takeOnlyLinkOptions(ctx, kName, kUsage, options)) return *failed;
  settings::LoggerSettings settings = settings::loadSettings(ctx.home);
  const SystemClock clock;
  LinkSession session(ctx, kName, settings, options, clock);
  if (!session.ready()) return session.exitCode();
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::ComTest;
  const auto outcome = session.run(request);
  if (!outcome) return kExitFailed;
  return outcome->succeeded && outcome->lastText() == link::kComTestOkText ? kExitOk : kExitFailed;
}

}  // namespace

KALDO_COMMAND(kName, "[--port DEVICE] [--trace[=FILE]]",
              "test the serial port and cable: \"AT\" at 1200 baud must come back (far end looped back)", run);

}  // namespace brevik::cli
