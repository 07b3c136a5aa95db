#include "program/port_choice.h"

#include "link/port_map.h"

namespace brevik::program {

std::string deviceForPort(const std::filesystem::path& home, link::PortNumber portNumber,
                          const std::optional<std::string>& named) {
  if (named) return *named;
  return link::PortMap::load(home).deviceFor(portNumber);
}

Result<std::optional<sim::LoggerProfile>> virtualLoggerOf(const std::string& device,
                                                          const std::filesystem::path& shippedSimDir) {
  const auto profileName = sim::simProfileOfDevice(device);
  if (!profileName) return std::optional<sim::LoggerProfile>{};
  auto profile = sim::loadSimProfile(*profileName, shippedSimDir);
  if (!profile) return profile.error();
  return std::optional<sim::LoggerProfile>(std::move(*profile));
}

}  // namespace brevik::program
