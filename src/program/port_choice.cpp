#include "program/port_choice.h"

#include "link/port_map.h"

namespace brevik::program {

namespace {

// What an entry of the map (or a named device) stands for on this machine.
PortDevice resolveEntry(std::string entry, const std::vector<link::SerialDevice>& devices,
                        const link::DeviceRoots& roots) {
  PortDevice port;
  port.entry = std::move(entry);
  port.device = port.entry;
  if (link::isVirtualLoggerDevice(port.entry)) {
    port.virtualLogger = true;
    port.present = true;
    return port;
  }
  if (link::nativeDeviceNaming() == link::DeviceNaming::Windows) {
    port.present = true;  // the system names the port; nothing to look up
    return port;
  }
  if (const auto serial = link::usbSerialOf(port.entry)) {
    const auto path = link::pathOfUsbSerial(devices, *serial);
    if (!path) return port;  // the adapter is not plugged in: opening says so
    port.device = *path;
  }
  const std::filesystem::path p(port.device);
  // A bare name such as ttyUSB0 is a device of /dev, as the serial port takes it.
  const std::string full = p.is_absolute() ? port.device : (roots.dev / p).string();
  std::error_code ec;
  port.present = std::filesystem::exists(full, ec);
  if (const link::SerialDevice* d = link::deviceAtPath(devices, full)) port.known = *d;
  return port;
}

std::vector<link::SerialDevice> devicesToLookUp(const link::DeviceRoots& roots) {
  if (link::nativeDeviceNaming() == link::DeviceNaming::Windows) return {};
  return link::listSerialDevices(roots);
}

}  // namespace

PortDevice resolvePort(const std::filesystem::path& home, link::PortNumber portNumber,
                       const std::optional<std::string>& named, const link::DeviceRoots& roots) {
  std::string entry;
  if (!named) entry = link::PortMap::load(home).deviceFor(portNumber);
  else if (const auto n = link::comPortNumber(*named); n && link::nativeDeviceNaming() == link::DeviceNaming::Posix)
    entry = link::PortMap::load(home).deviceFor(*n);
  else
    entry = *named;
  return resolveEntry(std::move(entry), devicesToLookUp(roots), roots);
}

std::vector<PortDevice> programPorts(const std::filesystem::path& home, const link::DeviceRoots& roots) {
  const link::PortMap map = link::PortMap::load(home);
  const auto devices = devicesToLookUp(roots);
  std::vector<PortDevice> ports;
  for (link::PortNumber n = 1; n <= kComPortCount; ++n) ports.push_back(resolveEntry(map.deviceFor(n), devices, roots));
  return ports;
}

std::string deviceForPort(const std::filesystem::path& home, link::PortNumber portNumber,
                          const std::optional<std::string>& named) {
  return resolvePort(home, portNumber, named).device;
}

std::string describePort(const PortDevice& port) {
  if (port.virtualLogger) return port.entry + " - the built-in virtual logger";
  std::string text = port.entry;
  if (port.device != port.entry) text += " = " + port.device;
  if (port.known) return text + " - " + link::describeDevice(*port.known);
  if (!port.present)
    return text + (link::usbSerialOf(port.entry) ? " - no such adapter is plugged in" : " - not there");
  return text;
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
