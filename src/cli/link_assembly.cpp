#include "cli/link_assembly.h"

#include <ostream>

#include "settings/home.h"
#include "cli/sim_link_driver.h"
#include "cli/status_printing.h"
#include "link/port_map.h"
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
  const std::string device =
      options.port ? *options.port
                   : link::PortMap::load(ctx.home).deviceFor(
                         static_cast<link::PortNumber>(settings.PortNumber & 0xFFFF));

  if (const auto profileName = sim::simProfileOfDevice(device)) {
    const auto shipped = settings::findShippedData(ctx.executableDir, BREVIK_INSTALLED_DATA_DIR) / "sim";
    auto profile = sim::loadSimProfile(*profileName, shipped);
    if (!profile) {
      err << "kaldo " << name << ": " << consoleText(profile.error().message) << "\n";
      // A profile named on the command line is a usage error; one from the
      // port map is a failure of this run.
      return options.port ? kExitUsage : kExitFailed;
    }
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

}  // namespace brevik::cli
