#include "cli/link_assembly.h"

#include <ostream>

#include "settings/home.h"
#include "cli/sim_link_driver.h"
#include "cli/status_printing.h"
#include "program/port_choice.h"
#include "sim/logger_profile.h"
#if BREVIK_HAVE_QT_PLATFORM
#include "platform/qt_link_driver.h"
#endif

namespace brevik::cli {

OptionTaken takeLinkOption(const std::vector<std::string>& args, std::size_t& i, LinkOptions& o) {
  const std::string& a = args[i];
  if (a == "--port") {
    if (i + 1 >= args.size() || args[i + 1].empty()) return OptionTaken::Malformed;
    o.port = args[++i];
  } else if (a.rfind("--port=", 0) == 0 && a.size() > 7) {
    o.port = a.substr(7);
  } else if (a == "--trace") {
    o.trace = true;
  } else if (a.rfind("--trace=", 0) == 0 && a.size() > 8) {
    o.trace = true;
    o.traceFile = a.substr(8);
  } else {
    return OptionTaken::No;
  }
  return OptionTaken::Yes;
}

std::optional<int> assembleLink(Context& ctx, const char* name, const settings::LoggerSettings& settings,
                                const LinkOptions& options, const Clock& clock, LinkAssembly& out) {
  std::ostream& err = *ctx.err;
  out.port = program::resolvePort(ctx.home, static_cast<link::PortNumber>(settings.PortNumber & 0xFFFF), options.port);
  const std::string& device = out.port.device;
  const auto shipped = settings::findShippedData(ctx.executableDir, BREVIK_INSTALLED_DATA_DIR) / "sim";
  auto virtualLogger = program::virtualLoggerOf(device, shipped);
  if (!virtualLogger) {
    err << "kaldo " << name << ": " << consoleText(virtualLogger.error().message) << "\n";
    // A profile named on the command line is a usage error; one from the
    // port map is a failure of this run.
    return options.port ? kExitUsage : kExitFailed;
  }
  if (auto& profile = *virtualLogger) {
    out.simLine = SimLine{profile->protocol, profile->baud,
                          profile->protocol == sim::WakeProtocol::Normal &&
                              profile->effectiveWakeAnswer() == sim::WakeAnswer::LetterHandshake};
    out.driver = makeSimLinkDriver(std::move(*profile), clock.now());
  } else {
#if BREVIK_HAVE_QT_PLATFORM
    out.driver = platform::makeQtLinkDriver(device);
#else
    err << "kaldo " << name << ": this kaldo was built without serial port support; only the "
        << "virtual logger (--port sim or sim:PROFILE) is available\n";
    return kExitFailed;
#endif
  }

  if (options.trace) {
    if (!options.traceFile.empty()) {
      out.traceFile.open(options.traceFile, std::ios::binary | std::ios::trunc);
      if (!out.traceFile) {
        err << "kaldo " << name << ": cannot write the trace to '" << options.traceFile << "'\n";
        return kExitFailed;
      }
      out.traceSink = std::make_unique<StreamTraceSink>(out.traceFile);
    } else {
      out.traceSink = std::make_unique<StreamTraceSink>(err);
    }
  }
  return std::nullopt;
}

namespace {

const char* protocolName(bool fast) { return fast ? "fast" : "normal"; }

}  // namespace

std::optional<std::string> simLineMismatch(const SimLine& line, const settings::LoggerSettings& settings) {
  const bool fast = line.protocol == sim::WakeProtocol::Fast;
  const bool settingsFast = settings.FastProtocol != 0;
  const bool protocolDiffers = fast != settingsFast;
  const bool baudDiffers = !line.pcNamesBaud && line.baud != settings.BaudRate;
  if (!protocolDiffers && !baudDiffers) return std::nullopt;

  std::string text = "the virtual logger answers the " + std::string(protocolName(fast)) + " protocol";
  text += line.pcNamesBaud ? " (at the baud the PC names)" : " at " + std::to_string(line.baud) + " baud";
  text += "; the settings say " + std::string(protocolName(settingsFast)) + " at " +
          std::to_string(settings.BaudRate) + " (kaldo settings";
  if (protocolDiffers) text += fast ? " FastProtocol=1" : " FastProtocol=0";
  // The normal protocol has no rate above 19200: kaldo settings would refuse
  // the protocol alone.
  if (baudDiffers || (!fast && settings.BaudRate > 19200)) text += " BaudRate=" + std::to_string(line.baud);
  return text + ")";
}

void explainFailedLink(Context& ctx, const char* name, const settings::LoggerSettings& settings,
                       const LinkAssembly& link) {
  if (!link.port.virtualLogger && !link.port.present)
    *ctx.err << "kaldo " << name << ": " << consoleText(program::describePort(link.port))
             << " (kaldo ports lists the serial devices of this machine)\n";
  if (!link.simLine) return;
  if (const auto mismatch = simLineMismatch(*link.simLine, settings))
    *ctx.err << "kaldo " << name << ": " << *mismatch << "\n";
}

}  // namespace brevik::cli
