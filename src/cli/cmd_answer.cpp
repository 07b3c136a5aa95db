// kaldo answer [--port DEVICE] [--calls N] [--trace[=FILE]]: auto-answer
// mode without a window, for a PC that only collects data from sites that
// call in. Each call is served as brevik serves it (status, download into a
// new data file in the home, the configuration sent again 36 s later) and
// logged to QXLOG.TXT; every log line is printed as well. It runs until N
// calls were served, or until SIGINT or SIGTERM, and then hangs the modem up
// before it ends. With --json each log line is one JSON object a line.

#include <charconv>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/json_output.h"
#include "cli/link_assembly.h"
#include "cli/link_session.h"
#include "cli/status_printing.h"
#include "cli/stop_request.h"
#include "common/clock.h"
#include "program/answering_station.h"
#include "program/program.h"
#include "settings/unattended_log.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "answer";
constexpr const char* kUsage = "usage: kaldo answer [--port DEVICE] [--calls N] [--trace[=FILE]]\n";

// The loop looks at the stop request and the count this often.
constexpr link::Ticks kSlice = 18;
// The hang-up after a stop: 60 ticks of pauses, with room for a slow port.
constexpr link::Ticks kStopLimit = 546;

struct AnswerOptions {
  LinkOptions link;
  std::optional<std::uint64_t> calls;
};

std::optional<std::string> parse(std::vector<std::string> args, AnswerOptions& options) {
  if (auto problem = takeLinkOptions(args, options.link)) return problem;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string value;
    if (args[i] == "--calls") {
      if (i + 1 >= args.size()) return "--calls needs a number";
      value = args[++i];
    } else if (args[i].rfind("--calls=", 0) == 0) {
      value = args[i].substr(8);
    } else {
      return "unexpected argument '" + args[i] + "'";
    }
    std::uint64_t n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || n == 0)
      return "--calls needs a number of calls above 0, not '" + value + "'";
    options.calls = n;
  }
  return std::nullopt;
}

int run(Context& ctx) {
  std::ostream& out = *ctx.out;
  std::ostream& err = *ctx.err;
  AnswerOptions options;
  if (auto problem = parse(ctx.args, options)) {
    err << "kaldo " << kName << ": " << *problem << "\n" << kUsage;
    return kExitUsage;
  }

  const SystemClock clock;
  program::Program program(ctx.home, clock);
  LinkAssembly link;
  if (auto failed = assembleLink(ctx, kName, program.settings(), options.link, clock, link)) return *failed;

  program::AnsweringStation station(link.driver->port(), link.driver->ticks(), program, [&](std::string_view text) {
    std::string line = settings::unattendedLogLine(text, clock);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (!ctx.json) {
      out << consoleText(line) << std::endl;
      return;
    }
    json::printLine(out, json::Value::object()
                             .set("text", json::Value::text(text))
                             .set("stamp", json::Value::iso(clock.now()))
                             .set("logLine", json::Value::text(line)));
  });
  if (link.traceSink) station.setTraceSink(link.traceSink.get());
  if (const auto& problem = station.setupProblem())
    err << "kaldo " << kName << ": " << consoleText(*problem) << " sending the default set-up to the sites\n";

  const StopOnInterrupt stopOnSignal;
  program::AutoAnswer& answer = station.answer();
  answer.enter();
  if (answer.firstOpenFailed()) {
    answer.leave();
    err << "kaldo " << kName << ": the port cannot be opened\n";
    return kExitFailed;
  }
  const auto enough = [&] { return stopRequested() || (options.calls && answer.callsServed() >= *options.calls); };
  while (!link.driver->runUntil(enough, kSlice)) {
  }

  bool ended = false;
  answer.stopAfterHangUp([&] { ended = true; });
  if (!link.driver->runUntil([&] { return ended; }, kStopLimit)) {
    answer.leave();
    err << "kaldo " << kName << ": the modem did not let the hang-up finish\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

KALDO_COMMAND(kName, "[--port DEVICE] [--calls N] [--trace[=FILE]]",
              "auto-answer mode without a window: serve the sites that call in, log each call to QXLOG.TXT "
              "and print it, until N calls or SIGINT/SIGTERM (the modem is hung up first)",
              run, kPrintsJson);

}  // namespace brevik::cli
