#pragma once
// The serial devices of this machine as Linux's sysfs and udev describe
// them: every tty with a driver behind it (a UART that is really there, a
// USB adapter, a modem), its /dev/serial/by-id names, and for USB adapters
// the vendor, product and serial number, which stay the same whichever
// /dev/ttyUSBn the adapter lands on when it is plugged in again.
//
// Both roots can be moved, so a test builds a small fake /dev and /sys.
// What sysfs does not say stays empty; an unreadable tree is no devices.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevik::link {

struct DeviceRoots {
  std::filesystem::path dev = "/dev";
  std::filesystem::path sys = "/sys";
};

struct SerialDevice {
  std::string name;                  // ttyUSB0
  std::string path;                  // <dev>/ttyUSB0
  std::vector<std::string> byId;     // <dev>/serial/by-id/... that lead to it
  std::string driver;                // ftdi_sio, serial8250, cdc_acm...
  std::string vendorId, productId;   // USB ids, four hexadecimal digits
  std::string manufacturer, product, serialNumber;

  bool isUsb() const { return !vendorId.empty(); }
};

// Every serial device under the roots, by name (ttyACM0, ttyS0, ttyUSB0...).
// A 8250 port whose UART type is unknown is only a name the kernel reserves,
// not a port, and is left out.
std::vector<SerialDevice> listSerialDevices(const DeviceRoots& roots = {});

// "usb:A1B2C3" -> "A1B2C3": a port named by its USB adapter's serial number.
std::optional<std::string_view> usbSerialOf(std::string_view device);

// The device of the adapter with that serial number: its first by-id name,
// else its /dev node.
std::optional<std::string> pathOfUsbSerial(const std::vector<SerialDevice>& devices,
                                           std::string_view serialNumber);

// The listed device a path names: its node, one of its by-id names, or a
// link to either.
const SerialDevice* deviceAtPath(const std::vector<SerialDevice>& devices, const std::string& path);

// One line for people: "FTDI FT232R USB UART, serial A1B2C3 (0403:6001)",
// or the driver for a device that is not USB.
std::string describeDevice(const SerialDevice& device);

}  // namespace brevik::link
