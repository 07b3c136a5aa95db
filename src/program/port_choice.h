#pragma once
// What stands behind the program's port, chosen one way for both shells:
// the device a command names (kaldo's --port), else the one the home's port
// map gives COM<n>; the device `sim` or `sim:PROFILE` is the built-in
// virtual logger rather than hardware.
//
// Serial adapters change /dev/ttyUSBn when they are plugged in again, so a
// port may be named by what stays: a /dev/serial/by-id path, or
// `usb:SERIALNUMBER`, which is looked up among the machine's adapters each
// time the port is opened. A named `COMn` means the port map's COMn, so a
// service can be started on a port number.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/result.h"
#include "link/serial_devices.h"
#include "link/serial_port.h"
#include "sim/logger_profile.h"

namespace brevik::program {

struct PortDevice {
  std::string entry;   // how the port is named: the port map's entry, --port, or the default
  std::string device;  // what is opened
  bool virtualLogger = false;
  bool present = false;  // the virtual logger, or a device node that exists
  std::optional<link::SerialDevice> known;  // what the machine says of the device
};

PortDevice resolvePort(const std::filesystem::path& home, link::PortNumber portNumber,
                       const std::optional<std::string>& named = std::nullopt,
                       const link::DeviceRoots& roots = {});

// COM1 to COM10, the ports the program offers, as the home's map names them.
inline constexpr link::PortNumber kComPortCount = 10;
std::vector<PortDevice> programPorts(const std::filesystem::path& home, const link::DeviceRoots& roots = {});

std::string deviceForPort(const std::filesystem::path& home, link::PortNumber portNumber,
                          const std::optional<std::string>& named = std::nullopt);

// One line for people: "/dev/ttyUSB0 - FTDI FT232R USB UART, serial A1B2C3
// (0403:6001)", "usb:A1B2C3 - no such adapter is plugged in", "/dev/ttyS3 -
// not there".
std::string describePort(const PortDevice& port);

// The virtual logger the device names, with its profile loaded (a shipped
// profile from `shippedSimDir`, or a file); nothing for a real device. A
// profile that cannot be read is an error that says which.
Result<std::optional<sim::LoggerProfile>> virtualLoggerOf(const std::string& device,
                                                          const std::filesystem::path& shippedSimDir);

}  // namespace brevik::program
