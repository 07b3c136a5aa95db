#pragma once
// Which device a COM port number names. On Windows COMn is the device itself.
// Elsewhere the home's `ports.ini` maps numbers to devices, one
// `COM1=/dev/ttyUSB0` line each; without an entry COMn is /dev/ttyS(n-1).
// The device `sim` or `sim:PROFILE` is the built-in virtual logger.
//
// ports.ini is typed by people: blank lines, `#` or `;` comments, an optional
// [section] header, blanks around names and values, lower-case "com" and
// lines that make no sense are all tolerated; a later entry for the same port
// wins.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "link/serial_port.h"

namespace brevik::link {

inline constexpr std::string_view kPortMapFileName = "ports.ini";

enum class DeviceNaming { Windows, Posix };

// The naming of the machine the program was built for.
constexpr DeviceNaming nativeDeviceNaming() {
#ifdef _WIN32
  return DeviceNaming::Windows;
#else
  return DeviceNaming::Posix;
#endif
}

class PortMap {
 public:
  PortMap() = default;
  explicit PortMap(DeviceNaming naming) : naming_(naming) {}

  // Reads the entries of a ports.ini text; garbage lines are skipped.
  static PortMap parse(std::string_view text, DeviceNaming naming = nativeDeviceNaming());
  // Reads <home>/ports.ini; a missing or unreadable file is an empty map.
  static PortMap load(const std::filesystem::path& homeDir,
                      DeviceNaming naming = nativeDeviceNaming());

  void set(PortNumber port, std::string device) { entries_[port] = std::move(device); }
  std::optional<std::string> entry(PortNumber port) const;

  // The device of COM<port>: the map's entry, else the default name.
  std::string deviceFor(PortNumber port) const;

 private:
  DeviceNaming naming_ = nativeDeviceNaming();
  std::map<PortNumber, std::string> entries_;
};

// COMn as the operating system names it when the map says nothing.
std::string defaultDeviceName(PortNumber port, DeviceNaming naming);

// "COM3" (any case) -> 3; numbers outside a port's range are not ports.
std::optional<PortNumber> comPortNumber(std::string_view name);

// Whether a device name means the virtual logger ("sim" or "sim:PROFILE").
bool isVirtualLoggerDevice(std::string_view device);

}  // namespace brevik::link
