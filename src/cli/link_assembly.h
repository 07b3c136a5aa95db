#pragma once
// What the kaldo commands that talk to a logger share: the --port and
// --trace options, the link driver for the home's port (or the device named)
// - the built-in virtual logger for `sim` and `sim:PROFILE` - and the trace
// sink.

#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/console_link.h"
#include "common/clock.h"
#include "link/link_driver.h"

namespace brevik::cli {

struct LinkOptions {
  std::optional<std::string> port;
  bool trace = false;
  std::string traceFile;  // empty: standard error
};

enum class OptionTaken { No, Yes, Malformed };

// Takes --port DEVICE, --port=DEVICE, --trace or --trace=FILE at args[i]
// (moving i past a separate value). Malformed: --port without a device.
OptionTaken takeLinkOption(const std::vector<std::string>& args, std::size_t& i, LinkOptions& options);

struct LinkAssembly {
  std::unique_ptr<link::LinkDriver> driver;
  std::ofstream traceFile;
  std::unique_ptr<StreamTraceSink> traceSink;  // none without --trace
};

// Builds the driver and the trace sink; on failure says why on standard
// error ("kaldo NAME: ...") and returns the exit status to end with.
std::optional<int> assembleLink(Context& ctx, const char* name, const settings::LoggerSettings& settings,
                                const LinkOptions& options, const Clock& clock, LinkAssembly& out);

}  // namespace brevik::cli
