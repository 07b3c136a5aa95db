#pragma once
// What the kaldo commands that talk to a logger share: the --port and
// --trace options, the link driver for the home's port (or the device named)
// - the built-in virtual logger for `sim` and `sim:PROFILE` - and the trace
// sink.

#include <cstdint>
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
#include "program/port_choice.h"
#include "sim/logger_profile.h"

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

// The line the virtual logger listens on, as its profile sets it.
struct SimLine {
  sim::WakeProtocol protocol = sim::WakeProtocol::Normal;
  std::uint32_t baud = 9600;
  bool pcNamesBaud = false;  // the old letter handshake: any working baud will do
};

struct LinkAssembly {
  program::PortDevice port;  // what the port is, as the port map and --port name it
  std::unique_ptr<link::LinkDriver> driver;
  std::ofstream traceFile;
  std::unique_ptr<StreamTraceSink> traceSink;  // none without --trace
  std::optional<SimLine> simLine;              // the port is the virtual logger
};

// Builds the driver and the trace sink; on failure says why on standard
// error ("kaldo NAME: ...") and returns the exit status to end with.
std::optional<int> assembleLink(Context& ctx, const char* name, const settings::LoggerSettings& settings,
                                const LinkOptions& options, const Clock& clock, LinkAssembly& out);

// Why the virtual logger cannot have answered `settings`, with the settings
// that would reach it; nothing when the settings fit its line.
std::optional<std::string> simLineMismatch(const SimLine& line, const settings::LoggerSettings& settings);

// For every command that talks to a logger, once its exchange has failed: a
// logger woken with the wrong protocol or baud only ever gives "no answer",
// which on the virtual logger is the user's settings and not the line. When
// the port is the virtual logger and the settings do not fit it, says so in
// one line on standard error ("kaldo NAME: the virtual logger answers ...").
// A device that is not there is named on standard error as well.
void explainFailedLink(Context& ctx, const char* name, const settings::LoggerSettings& settings,
                       const LinkAssembly& link);

}  // namespace brevik::cli
