// kaldo status [--port DEVICE] [--trace[=FILE]]: reads a logger's status with
// the home's Logger Settings (port, baud, protocol, network mode and station)
// and prints the texts of the status form as decode-status does, then the
// dial-out schedule. The port is COM<PortNumber> through the home's port map
// unless --port names a device; `sim` or `sim:PROFILE` is the built-in
// virtual logger, run in-process in virtual time.

#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "app/home.h"
#include "app/logger_settings.h"
#include "cli/command.h"
#include "cli/console_link.h"
#include "cli/console_status_steps.h"
#include "cli/sim_link_driver.h"
#include "cli/status_printing.h"
#include "common/clock.h"
#include "link/exchange_engine.h"
#include "link/port_map.h"
#include "link/status_reply_flow.h"
#include "sim/logger_profile.h"
#if BREVIK_HAVE_QT_PLATFORM
#include "platform/qt_link_driver.h"
#endif

namespace brevik::cli {

namespace {

constexpr const char* kName = "status";

// Longer than any status exchange at any baud (a normal wake-up, a reply at
// 1200 baud and the schedule take well under a minute).
constexpr link::Ticks kExchangeLimit = 182 * 120;

struct Options {
  std::optional<std::string> port;
  bool trace = false;
  std::string traceFile;  // empty: standard error
};

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::ostream& err) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--port") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        err << "kaldo " << kName << ": --port needs a device\n";
        return std::nullopt;
      }
      o.port = args[++i];
    } else if (a.rfind("--port=", 0) == 0 && a.size() > 7) {
      o.port = a.substr(7);
    } else if (a == "--trace") {
      o.trace = true;
    } else if (a.rfind("--trace=", 0) == 0 && a.size() > 8) {
      o.trace = true;
      o.traceFile = a.substr(8);
    } else {
      err << "kaldo " << kName << ": unexpected argument '" << a << "'\n";
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

  app::LoggerSettings settings = app::loadSettings(ctx.home);
  const std::string device =
      options->port ? *options->port
                    : link::PortMap::load(ctx.home).deviceFor(static_cast<link::PortNumber>(settings.PortNumber & 0xFFFF));

  const SystemClock clock;
  std::unique_ptr<link::LinkDriver> driver;
  if (const auto profileName = sim::simProfileOfDevice(device)) {
    const auto shipped = app::findShippedData(ctx.executableDir, BREVIK_INSTALLED_DATA_DIR) / "sim";
    auto profile = sim::loadSimProfile(*profileName, shipped);
    if (!profile) {
      err << "kaldo " << kName << ": " << consoleText(profile.error().message) << "\n";
      // A profile named on the command line is a usage error; one from the
      // port map is a failure of this run.
      return options->port ? kExitUsage : kExitFailed;
    }
    driver = makeSimLinkDriver(std::move(*profile), clock.now());
  } else {
#if BREVIK_HAVE_QT_PLATFORM
    driver = platform::makeQtLinkDriver(device);
#else
    err << "kaldo " << kName << ": this kaldo was built without serial port support; only the "
        << "virtual logger (--port sim or sim:PROFILE) is available\n";
    return kExitFailed;
#endif
  }

  std::ofstream traceFile;
  std::unique_ptr<StreamTraceSink> traceSink;
  if (options->trace) {
    if (!options->traceFile.empty()) {
      traceFile.open(options->traceFile, std::ios::binary | std::ios::trunc);
      if (!traceFile) {
        err << "kaldo " << kName << ": cannot write the trace to '" << options->traceFile << "'\n";
        return kExitFailed;
      }
      traceSink = std::make_unique<StreamTraceSink>(traceFile);
    } else {
      traceSink = std::make_unique<StreamTraceSink>(err);
    }
  }

  ConsolePrompter prompter(out);
  ConsoleLinkView view(err);
  ConsoleHost host(out, err);
  ConsoleStatusSteps steps(settings, ctx.home, clock, prompter);
  link::ExchangeEngine engine({driver->port(), driver->ticks(), view, prompter, host}, settings);
  link::StatusReplyFlow flow(engine, steps);
  engine.setStatusReplyHandler(&flow);
  if (traceSink) engine.setTraceSink(traceSink.get());

  engine.context().kind = link::ExchangeKind::Status;
  engine.openLink();
  const bool ended = driver->runUntil(
      [&] { return engine.context().kind == link::ExchangeKind::None || host.quitRequested(); },
      kExchangeLimit);
  if (!ended) {
    engine.endExchange();
    err << "kaldo " << kName << ": the exchange did not end; stopped\n";
    return kExitFailed;
  }

  if (!steps.status()) return kExitFailed;
  printStatusForm(out, *steps.status(), settings.TwelveHourClock != 0);
  printScheduleText(out, view.scheduleText());
  return kExitOk;
}

}  // namespace

KALDO_COMMAND(kName, "[--port DEVICE] [--trace[=FILE]]",
              "read a logger's status (the port map's device, or --port DEVICE; sim[:PROFILE] is "
              "the virtual logger) and print the status form and schedule",
              run);

}  // namespace brevik::cli
