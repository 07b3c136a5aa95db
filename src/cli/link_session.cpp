#include "cli/link_session.h"

#include "app/home.h"
#include "cli/sim_link_driver.h"
#include "cli/status_printing.h"
#include "common/clock.h"
#include "link/port_map.h"
#include "sim/logger_profile.h"
#if BREVIK_HAVE_QT_PLATFORM
#include "platform/qt_link_driver.h"
#endif

namespace brevik::cli {

namespace {

// Longer than any set-up or status exchange at any baud.
constexpr link::Ticks kExchangeLimit = 182 * 180;

}  // namespace

std::optional<std::string> takeLinkOptions(std::vector<std::string>& args, LinkOptions& options) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--port") {
      if (i + 1 >= args.size() || args[i + 1].empty()) return "--port needs a device";
      options.port = args[++i];
    } else if (a.rfind("--port=", 0) == 0 && a.size() > 7) {
      options.port = a.substr(7);
    } else if (a == "--trace") {
      options.trace = true;
    } else if (a.rfind("--trace=", 0) == 0 && a.size() > 8) {
      options.trace = true;
      options.traceFile = a.substr(8);
    } else {
      rest.push_back(a);
    }
  }
  args = std::move(rest);
  return std::nullopt;
}

LinkSession::LinkSession(Context& ctx, const char* commandName, app::LoggerSettings& settings,
                         const LinkOptions& options)
    : ctx_(ctx), name_(commandName) {
  std::ostream& err = *ctx.err;
  const std::string device =
      options.port ? *options.port
                   : link::PortMap::load(ctx.home).deviceFor(static_cast<link::PortNumber>(settings.PortNumber & 0xFFFF));
  if (const auto profileName = sim::simProfileOfDevice(device)) {
    const auto shipped = app::findShippedData(ctx.executableDir, BREVIK_INSTALLED_DATA_DIR) / "sim";
    auto profile = sim::loadSimProfile(*profileName, shipped);
    if (!profile) {
      err << "kaldo " << name_ << ": " << consoleText(profile.error().message) << "\n";
      exitCode_ = options.port ? kExitUsage : kExitFailed;
      return;
    }
    driver_ = makeSimLinkDriver(std::move(*profile), SystemClock().now());
  } else {
#if BREVIK_HAVE_QT_PLATFORM
    driver_ = platform::makeQtLinkDriver(device);
#else
    err << "kaldo " << name_ << ": this kaldo was built without serial port support; only the "
        << "virtual logger (--port sim or sim:PROFILE) is available\n";
    return;
#endif
  }
  if (options.trace) {
    if (!options.traceFile.empty()) {
      traceFile_.open(options.traceFile, std::ios::binary | std::ios::trunc);
      if (!traceFile_) {
        err << "kaldo " << name_ << ": cannot write the trace to '" << options.traceFile << "'\n";
        return;
      }
      trace_ = std::make_unique<StreamTraceSink>(traceFile_);
    } else {
      trace_ = std::make_unique<StreamTraceSink>(err);
    }
  }
  prompter_ = std::make_unique<ConsolePrompter>(*ctx.out);
  view_ = std::make_unique<ConsoleLinkView>(err);
  host_ = std::make_unique<ConsoleHost>(*ctx.out, err);
  engine_ = std::make_unique<link::ExchangeEngine>(
      link::LinkPorts{driver_->port(), driver_->ticks(), *view_, *prompter_, *host_}, settings);
  if (trace_) engine_->setTraceSink(trace_.get());
  exitCode_ = kExitOk;
}

bool LinkSession::run(link::ExchangeKind kind) {
  engine_->context().kind = kind;
  engine_->openLink();
  return runStarted();
}

bool LinkSession::runStarted() {
  const bool ended = driver_->runUntil(
      [&] { return engine_->context().kind == link::ExchangeKind::None || host_->quitRequested(); },
      kExchangeLimit);
  if (!ended) {
    engine_->endExchange();
    *ctx_.err << "kaldo " << name_ << ": the exchange did not end; stopped\n";
  }
  return ended;
}

}  // namespace brevik::cli
