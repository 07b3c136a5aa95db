// kaldo hangup [--port DEVICE] [--trace[=FILE]]: hangs up the modem on the
// settings' port and speed as brevik's "h" start does - DTR pulse, then
// "+++" and ATH twice - and leaves the same one line in QXLOG.TXT.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "settings/unattended_log.h"
#include "cli/command.h"
#include "cli/link_assembly.h"
#include "cli/link_session.h"
#include "cli/status_printing.h"
#include "cli/traced_serial_port.h"
#include "common/clock.h"
#include "link/exchange_trace.h"
#include "program/hang_up.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "hangup";
constexpr const char* kUsage = "usage: kaldo hangup [--port DEVICE] [--trace[=FILE]]\n";

// The sequence lasts 134 ticks; a real port that stops answering gets the
// rest of about half a minute.
constexpr link::Ticks kRunLimit = 546;

int run(Context& ctx) {
  std::ostream& err = *ctx.err;
  LinkOptions options;
  if (auto failed = takeOnlyLinkOptions(ctx, kName, kUsage, options)) return *failed;

  const settings::LoggerSettings settings = settings::loadSettings(ctx.home);
  const SystemClock clock;
  LinkAssembly link;
  if (auto failed = assembleLink(ctx, kName, settings, options, clock, link)) return *failed;

  link::ExchangeTrace trace(link.driver->ticks());
  trace.setSink(link.traceSink.get());
  trace.beginExchange();
  TracedSerialPort port(link.driver->port(), trace);
  const settings::UnattendedLog log(ctx.home, clock);
  program::ModemHangUp hangUp(port, link.driver->ticks());

  std::optional<Status> outcome;
  program::hangUpAndLog(hangUp, settings, log, [&](const Status& result, settings::QuitRequest) {
    trace.reported(program::hangUpLogText(result));
    outcome = result;
  });
  if (!link.driver->runUntil([&] { return outcome.has_value(); }, kRunLimit)) {
    err << "kaldo " << kName << ": the port did not let the hang-up finish\n";
    return kExitFailed;
  }
  if (!*outcome) {
    err << "kaldo " << kName << ": " << consoleText(outcome->error().message) << "\n";
    return kExitFailed;
  }
  *ctx.out << consoleText(program::hangUpLogText(*outcome)) << "\n";
  return kExitOk;
}

}  // namespace

KALDO_COMMAND(kName, "[--port DEVICE] [--trace[=FILE]]",
              "hang up the modem (DTR drop, then \"+++\" and ATH) as brevik's \"h\" start does", run);

}  // namespace brevik::cli
