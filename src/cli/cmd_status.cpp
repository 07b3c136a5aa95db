// kaldo status [--port DEVICE] [--trace[=FILE]]: reads a logger's status with
// the home's Logger Settings (port, baud, protocol, network mode and station)
// and prints the texts of the status form as decode-status does, then the
// dial-out schedule. The port is COM<PortNumber> through the home's port map
// unless --port names a device; `sim` or `sim:PROFILE` is the built-in
// virtual logger, run in-process in virtual time.

#include <ostream>
#include <string>

#include "settings/home.h"
#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/console_link.h"
#include "cli/console_status_steps.h"
#include "cli/json_documents.h"
#include "cli/link_assembly.h"
#include "cli/link_session.h"
#include "cli/status_printing.h"
#include "common/clock.h"
#include "link/exchange_engine.h"
#include "link/status_reply_flow.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "status";

std::optional<LinkOptions> parseOptions(const std::vector<std::string>& args, std::ostream& err) {
  LinkOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    switch (takeLinkOption(args, i, o)) {
      case OptionTaken::Yes:
        continue;
      case OptionTaken::Malformed:
        err << "kaldo " << kName << ": --port needs a device\n";
        return std::nullopt;
      case OptionTaken::No:
        err << "kaldo " << kName << ": unexpected argument '" << args[i] << "'\n";
        return std::nullopt;
    }
  }
  return o;
}

int run(Context& ctx) {
  std::ostream& out = *ctx.out;
  std::ostream& err = *ctx.err;
  const auto options = parseOptions(ctx.args, err);
  if (!options) {
    err << "usage: kaldo " << kName << " [--port DEVICE] [--trace[=FILE]]\n";
    return kExitUsage;
  }

  settings::LoggerSettings settings = settings::loadSettings(ctx.home);
  const SystemClock clock;
  LinkSession session(ctx, kName, settings, *options, clock, ctx.json ? &err : nullptr);
  if (!session.ready()) return session.exitCode();
  ConsoleStatusSteps steps(settings, ctx.home, clock);
  link::StatusReplyFlow flow(session.engine(), steps);
  session.engine().setStatusReplyHandler(&flow);

  const auto outcome = session.run(link::ExchangeRequest{});
  if (!outcome || !steps.status()) {
    session.explainFailure();
    return kExitFailed;
  }
  if (ctx.json) {
    json::printDocument(out, json::statusDocument(*steps.status(), settings.TwelveHourClock != 0, outcome->scheduleText));
    return kExitOk;
  }
  printStatusForm(out, *steps.status(), settings.TwelveHourClock != 0);
  printScheduleText(out, outcome->scheduleText.value_or(""));
  return kExitOk;
}

}  // namespace

KALDO_COMMAND(kName, "[--port DEVICE] [--trace[=FILE]]",
              "read a logger's status (the port map's device, or --port DEVICE; sim[:PROFILE] is "
              "the virtual logger) and print the status form and schedule",
              run, kPrintsJson);

}  // namespace brevik::cli
