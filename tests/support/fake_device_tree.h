#pragma once
// A small /dev and /sys as Linux lays them out, for the serial device
// listing: an FTDI adapter (ttyUSB0, by-id link), a USB modem without a
// serial number (ttyACM0), a fitted UART (ttyS0), a UART the kernel only
// reserves (ttyS1, type 0) and a virtual console (tty0).

#include <filesystem>

#include "link/serial_devices.h"

namespace brevik::testing {

inline constexpr const char* kFakeAdapterSerial = "A1B2C3";
inline constexpr const char* kFakeAdapterById = "usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0";

// Builds the tree under `root` (root/dev and root/sys) and returns its roots.
link::DeviceRoots makeFakeDeviceTree(const std::filesystem::path& root);

}  // namespace brevik::testing
