#pragma once
// What stands behind the program's port, chosen one way for both shells:
// the device a command names (kaldo's --port), else the one the home's port
// map gives COM<n>; the device `sim` or `sim:PROFILE` is the built-in
// virtual logger rather than hardware.

#include <filesystem>
#include <optional>
#include <string>

#include "common/result.h"
#include "link/serial_port.h"
#include "sim/logger_profile.h"

namespace brevik::program {

std::string deviceForPort(const std::filesystem::path& home, link::PortNumber portNumber,
                          const std::optional<std::string>& named = std::nullopt);

// The virtual logger the device names, with its profile loaded (a shipped
// profile from `shippedSimDir`, or a file); nothing for a real device. A
// profile that cannot be read is an error that says which.
Result<std::optional<sim::LoggerProfile>> virtualLoggerOf(const std::string& device,
                                                          const std::filesystem::path& shippedSimDir);

}  // namespace brevik::program
