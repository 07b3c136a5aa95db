#include "support/fake_device_tree.h"

#include <fstream>

namespace brevik::testing {

namespace fs = std::filesystem;

namespace {

void put(const fs::path& file, const char* text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text << "\n";
}

// A tty as sysfs shows it: the class entry is a relative link to the tty's
// directory under devices/, whose `device` link leads to the port's device.
void addTty(const fs::path& sys, const fs::path& deviceDir, const char* name) {
  const fs::path ttyDir = deviceDir / "tty" / name;
  fs::create_directories(ttyDir);
  fs::create_directory_symlink(fs::relative(deviceDir, ttyDir), ttyDir / "device");
  fs::create_directories(sys / "class" / "tty");
  fs::create_directory_symlink(fs::relative(ttyDir, sys / "class" / "tty"), sys / "class" / "tty" / name);
}

void addDriver(const fs::path& sys, const fs::path& deviceDir, const char* bus, const char* driver) {
  const fs::path driverDir = sys / "bus" / bus / "drivers" / driver;
  fs::create_directories(driverDir);
  fs::create_directory_symlink(fs::relative(driverDir, deviceDir), deviceDir / "driver");
}

}  // namespace

link::DeviceRoots makeFakeDeviceTree(const fs::path& root) {
  const fs::path dev = root / "dev";
  const fs::path sys = root / "sys";
  fs::create_directories(dev / "serial" / "by-id");

  // An FTDI adapter: USB device 1-1, interface 1-1:1.0, usb-serial port ttyUSB0.
  const fs::path usb1 = sys / "devices" / "pci0000:00" / "0000:00:14.0" / "usb1" / "1-1";
  put(usb1 / "idVendor", "0403");
  put(usb1 / "idProduct", "6001");
  put(usb1 / "manufacturer", "FTDI");
  put(usb1 / "product", "FT232R USB UART");
  put(usb1 / "serial", kFakeAdapterSerial);
  const fs::path ftdiPort = usb1 / "1-1:1.0" / "ttyUSB0";
  fs::create_directories(ftdiPort);
  addDriver(sys, ftdiPort, "usb-serial", "ftdi_sio");
  addTty(sys, ftdiPort, "ttyUSB0");
  put(dev / "ttyUSB0", "");
  fs::create_symlink("../../ttyUSB0", dev / "serial" / "by-id" / kFakeAdapterById);

  // A USB modem without a serial number: the tty hangs from the interface.
  const fs::path usb2 = sys / "devices" / "pci0000:00" / "0000:00:14.0" / "usb1" / "1-2";
  put(usb2 / "idVendor", "1546");
  put(usb2 / "idProduct", "01a8");
  put(usb2 / "product", "u-blox GNSS modem");
  const fs::path acmInterface = usb2 / "1-2:1.0";
  fs::create_directories(acmInterface);
  addDriver(sys, acmInterface, "usb", "cdc_acm");
  addTty(sys, acmInterface, "ttyACM0");
  put(dev / "ttyACM0", "");

  // Two 8250 ports: one fitted (a 16550A), one only reserved.
  const fs::path platform = sys / "devices" / "platform" / "serial8250";
  fs::create_directories(platform);
  addDriver(sys, platform, "platform", "serial8250");
  addTty(sys, platform, "ttyS0");
  put(platform / "tty" / "ttyS0" / "type", "4");
  addTty(sys, platform, "ttyS1");
  put(platform / "tty" / "ttyS1" / "type", "0");
  put(dev / "ttyS0", "");
  put(dev / "ttyS1", "");

  // A virtual console: no device behind it.
  fs::create_directories(sys / "devices" / "virtual" / "tty" / "tty0");
  fs::create_directory_symlink("../../devices/virtual/tty/tty0", sys / "class" / "tty" / "tty0");
  put(dev / "tty0", "");
  return {dev, sys};
}

}  // namespace brevik::testing
