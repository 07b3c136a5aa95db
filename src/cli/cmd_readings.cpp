// kaldo readings [--port DEVICE] [--count N] [--trace[=FILE]]: the live
// readings of a logger for scripts, as the real-time display shows them: one
// CSV line per reading on standard output (the PC's numeric stamp, then the
// value text of each channel that is on), until N readings came or Ctrl+C.
// A logger that streams its readings unasked is stopped by waking it, as the
// desktop does when its display closes. Messages and progress go to standard
// error. Exit status 0 when the readings ran and ended as asked.

#include <charconv>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/console_readings.h"
#include "cli/console_status_steps.h"
#include "cli/link_assembly.h"
#include "cli/link_session.h"
#include "cli/stop_request.h"
#include "common/clock.h"
#include "link/status_reply_flow.h"
#include "protocol/vocabulary.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "readings";
constexpr const char* kSynopsis = "[--port DEVICE] [--count N] [--trace[=FILE]]";

struct Options {
  LinkOptions link;
  std::optional<std::uint64_t> count;  // none: until interrupted
};

// A count is a whole number of readings, at least one.
std::optional<std::uint64_t> parseCount(const std::string& text) {
  std::uint64_t n = 0;
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, n);
  if (ec != std::errc() || stop != end || n == 0) return std::nullopt;
  return n;
}

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::ostream& err) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    switch (takeLinkOption(args, i, o.link)) {
      case OptionTaken::Yes:
        continue;
      case OptionTaken::Malformed:
        err << "kaldo " << kName << ": --port needs a device\n";
        return std::nullopt;
      case OptionTaken::No:
        break;
    }
    const std::string& a = args[i];
    std::optional<std::string> value;
    if (a == "--count") {
      if (i + 1 < args.size()) value = args[++i];
    } else if (a.rfind("--count=", 0) == 0) {
      value = a.substr(8);
    } else {
      err << "kaldo " << kName << ": unexpected argument '" << a << "'\n";
      return std::nullopt;
    }
    if (!value || !(o.count = parseCount(*value))) {
      err << "kaldo " << kName << ": --count needs a number of readings, 1 or more\n";
      return std::nullopt;
    }
  }
  return o;
}

int run(Context& ctx) {
  std::ostream& err = *ctx.err;
  const auto options = parseOptions(ctx.args, err);
  if (!options) {
    err << "usage: kaldo " << kName << " " << kSynopsis << "\n";
    return kExitUsage;
  }

  settings::LoggerSettings settings = settings::loadSettings(ctx.home);
  const SystemClock clock;
  // Standard output holds the readings alone.
  LinkSession session(ctx, kName, settings, options->link, clock, &err);
  if (!session.ready()) return session.exitCode();
  ConsoleStatusSteps steps(settings, ctx.home, clock);
  link::StatusReplyFlow flow(session.engine(), steps);
  session.engine().setStatusReplyHandler(&flow);
  ConsoleReadings readings(*ctx.out, err, clock, settings.ExportDayFirst != 0, steps, options->count, ctx.json);
  session.engine().setReadingsView(&readings);

  const StopOnInterrupt interrupt;
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::RealTime;
  const program::ReadingsWatch watch{
      [&] { return readings.enough(); },
      [&] { return readings.arrivals(); },
      [&] {
        // The status's revision chose "Y" or "Z"; without a status read no
        // stream was started.
        const protocol::LoggerStatus* status = steps.readingStatus();
        return status && !protocol::revisionSendsReadingsOnRequest(status->revision);
      }};
  const program::ReadingsRun ran = session.runReadings(std::move(request), watch);
  session.engine().setReadingsView(nullptr);

  switch (ran.end) {
    case program::ReadingsEnd::Stopped:
      if (ran.outcome && ran.outcome->succeeded) return kExitOk;
      // Interrupted while the link was still being opened.
      if (ran.outcome) err << "kaldo " << kName << ": stopped before the readings began\n";
      return kExitFailed;
    case program::ReadingsEnd::Stalled:
      return kExitFailed;
    case program::ReadingsEnd::Ended:
      break;
  }
  // The exchange ended before it was asked to: its message is said already.
  if (ran.outcome && ran.outcome->succeeded)
    err << "kaldo " << kName << ": the readings ended after " << readings.printed() << "\n";
  session.explainFailure();
  return kExitFailed;
}

}  // namespace

KALDO_COMMAND(kName, kSynopsis,
              "print a logger's live readings as CSV lines, one per reading, until --count N "
              "readings or Ctrl+C (sim[:PROFILE] is the virtual logger)",
              run, kPrintsJson);

}  // namespace brevik::cli
