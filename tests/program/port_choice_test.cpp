#include "program/port_choice.h"

#include <gtest/gtest.h>

#include "support/fake_device_tree.h"
#include "support/temp_dir.h"

namespace brevik::program {
namespace {

namespace fs = std::filesystem;
using brevik::testing::kFakeAdapterById;

struct PortCase {
  const char* what;
  std::string portsIni;                // the home's map; {DEV} is the fake /dev
  std::optional<std::string> named;    // --port
  std::string device;                  // what is opened ({DEV} as above)
  bool present;
  std::string knownName;               // the listed device it is, if any
  std::string described;
};

std::string withDev(std::string text, const fs::path& dev) {
  for (std::size_t at; (at = text.find("{DEV}")) != std::string::npos;) text.replace(at, 5, dev.string());
  return text;
}

TEST(PortChoice, ResolvesStableNamesAndSaysWhatIsMissing) {
  brevik::testing::TempDir dir;
  const link::DeviceRoots roots = brevik::testing::makeFakeDeviceTree(dir / "machine");
  const std::string byId = std::string("{DEV}/serial/by-id/") + kFakeAdapterById;
  const std::string ftdi = "FTDI FT232R USB UART, serial A1B2C3 (0403:6001)";
  const PortCase cases[] = {
      {"usb serial number", "COM1=usb:A1B2C3\n", {}, byId, true, "ttyUSB0",
       "usb:A1B2C3 = " + byId + " - " + ftdi},
      {"adapter not plugged in", "COM1=usb:FFFF\n", {}, "usb:FFFF", false, "",
       "usb:FFFF - no such adapter is plugged in"},
      {"by-id path", "COM1=" + byId + "\n", {}, byId, true, "ttyUSB0", byId + " - " + ftdi},
      {"plain node", "COM1={DEV}/ttyUSB0\n", {}, "{DEV}/ttyUSB0", true, "ttyUSB0", "{DEV}/ttyUSB0 - " + ftdi},
      {"bare name is of /dev", "COM1=ttyACM0\n", {}, "ttyACM0", true, "ttyACM0",
       "ttyACM0 - u-blox GNSS modem (1546:01a8)"},
      {"device gone", "COM1={DEV}/ttyUSB4\n", {}, "{DEV}/ttyUSB4", false, "", "{DEV}/ttyUSB4 - not there"},
      {"virtual logger", "COM1=sim:kaldo5-12bit\n", {}, "sim:kaldo5-12bit", true, "",
       "sim:kaldo5-12bit - the built-in virtual logger"},
      {"--port COMn is the map's", "COM3=usb:A1B2C3\n", "com3", byId, true, "ttyUSB0",
       "usb:A1B2C3 = " + byId + " - " + ftdi},
      {"--port usb serial", "", "usb:A1B2C3", byId, true, "ttyUSB0", "usb:A1B2C3 = " + byId + " - " + ftdi},
  };
  for (const PortCase& c : cases) {
    SCOPED_TRACE(c.what);
    brevik::testing::TempDir home;
    home.write("ports.ini", withDev(c.portsIni, roots.dev));
    const PortDevice port = resolvePort(home.path(), 1, c.named, roots);
    EXPECT_EQ(port.device, withDev(c.device, roots.dev));
    EXPECT_EQ(port.present, c.present);
    EXPECT_EQ(port.known ? port.known->name : "", c.knownName);
    EXPECT_EQ(describePort(port), withDev(c.described, roots.dev));
  }
}

TEST(PortChoice, TheProgramsPortsAreComOneToTenOfTheMap) {
  brevik::testing::TempDir dir;
  const link::DeviceRoots roots = brevik::testing::makeFakeDeviceTree(dir / "machine");
  brevik::testing::TempDir home;
  home.write("ports.ini", "COM2=usb:A1B2C3\nCOM10=sim\n");
  const auto ports = programPorts(home.path(), roots);
  ASSERT_EQ(ports.size(), 10u);
  EXPECT_EQ(ports[0].device, "/dev/ttyS0") << "the default name, whatever the roots";
  EXPECT_EQ(ports[1].known ? ports[1].known->name : "", "ttyUSB0");
  EXPECT_TRUE(ports[9].virtualLogger);
  EXPECT_FALSE(ports[4].present);
}

}  // namespace
}  // namespace brevik::program
