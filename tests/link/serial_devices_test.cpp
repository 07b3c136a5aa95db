#include "link/serial_devices.h"

#include <gtest/gtest.h>

#include "support/fake_device_tree.h"
#include "support/temp_dir.h"

namespace brevik::link {
namespace {

using brevik::testing::kFakeAdapterById;

TEST(SerialDevices, ListsEveryPortWithItsByIdNamesAndUsbIdentity) {
  brevik::testing::TempDir dir;
  const DeviceRoots roots = brevik::testing::makeFakeDeviceTree(dir.path());
  const auto devices = listSerialDevices(roots);

  // The reserved UART and the console are no ports.
  ASSERT_EQ(devices.size(), 3u);
  const SerialDevice& acm = devices[0];
  const SerialDevice& uart = devices[1];
  const SerialDevice& ftdi = devices[2];
  EXPECT_EQ(acm.name, "ttyACM0");
  EXPECT_EQ(acm.driver, "cdc_acm");
  EXPECT_EQ(acm.vendorId + ":" + acm.productId, "1546:01a8");
  EXPECT_EQ(acm.serialNumber, "");
  EXPECT_TRUE(acm.byId.empty());
  EXPECT_EQ(describeDevice(acm), "u-blox GNSS modem (1546:01a8)");

  EXPECT_EQ(uart.name, "ttyS0");
  EXPECT_FALSE(uart.isUsb());
  EXPECT_EQ(describeDevice(uart), "serial port, driver serial8250");

  EXPECT_EQ(ftdi.path, (roots.dev / "ttyUSB0").string());
  EXPECT_EQ(ftdi.driver, "ftdi_sio");
  ASSERT_EQ(ftdi.byId.size(), 1u);
  EXPECT_EQ(ftdi.byId[0], (roots.dev / "serial" / "by-id" / kFakeAdapterById).string());
  EXPECT_EQ(describeDevice(ftdi), "FTDI FT232R USB UART, serial A1B2C3 (0403:6001)");

  EXPECT_EQ(pathOfUsbSerial(devices, "A1B2C3"), ftdi.byId[0]) << "the by-id name is the stable one";
  EXPECT_FALSE(pathOfUsbSerial(devices, "").has_value()) << "a modem without a serial number is never chosen";
  EXPECT_EQ(deviceAtPath(devices, ftdi.byId[0]), &ftdi);
  EXPECT_EQ(deviceAtPath(devices, ftdi.path), &ftdi);
  EXPECT_EQ(deviceAtPath(devices, (roots.dev / "ttyS1").string()), nullptr);
}

TEST(SerialDevices, AMissingTreeIsNoDevicesAndUsbNamesNeedASerial) {
  brevik::testing::TempDir dir;
  EXPECT_TRUE(listSerialDevices({dir / "no-dev", dir / "no-sys"}).empty());
  EXPECT_EQ(usbSerialOf("usb:A1B2C3"), "A1B2C3");
  EXPECT_FALSE(usbSerialOf("usb:").has_value());
  EXPECT_FALSE(usbSerialOf("/dev/usb:x").has_value());
}

}  // namespace
}  // namespace brevik::link
