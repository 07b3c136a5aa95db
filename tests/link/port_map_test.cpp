#include "link/port_map.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace brevik::link {
namespace {

TEST(PortMap, DefaultNamesWithoutAnEntry) {
  const PortMap posix(DeviceNaming::Posix);
  EXPECT_EQ(posix.deviceFor(1), "/dev/ttyS0");
  EXPECT_EQ(posix.deviceFor(10), "/dev/ttyS9");
  EXPECT_EQ(posix.deviceFor(0), "COM0") << "no device answers to a port 0";
  const PortMap windows(DeviceNaming::Windows);
  EXPECT_EQ(windows.deviceFor(3), "COM3");
}

TEST(PortMap, ReadsEntriesAndToleratesWhatPeopleType) {
  const PortMap map = PortMap::parse(
      "# serial adapters\r\n"
      "[ports]\n"
      "\n"
      "COM1=/dev/ttyUSB0\n"
      "  com2 =  /dev/pts/7  \r\n"
      "; old entry\n"
      "COM3=sim:kaldo5-12bit\n"
      "COM4\n"                 // no value
      "COM5=\n"                // empty value
      "COMX=/dev/ttyACM0\n"    // no number
      "COM99999=/dev/ttyS4\n"  // out of range
      "garbage = line\n"
      "=/dev/null\n"
      "COM1=/dev/ttyUSB1",     // a later entry wins; no final newline
      DeviceNaming::Posix);
  EXPECT_EQ(map.deviceFor(1), "/dev/ttyUSB1");
  EXPECT_EQ(map.deviceFor(2), "/dev/pts/7");
  EXPECT_EQ(map.deviceFor(3), "sim:kaldo5-12bit");
  EXPECT_EQ(map.deviceFor(4), "/dev/ttyS3");
  EXPECT_EQ(map.deviceFor(5), "/dev/ttyS4");
  EXPECT_FALSE(map.entry(6).has_value());
}

TEST(PortMap, ADeviceWithANulIsNotTaken) {
  const PortMap map = PortMap::parse(std::string("COM1=/dev/tty\0S0\n", 17), DeviceNaming::Posix);
  EXPECT_EQ(map.deviceFor(1), "/dev/ttyS0");
  EXPECT_FALSE(map.entry(1).has_value());
}

TEST(PortMap, LoadsFromTheHomeAndAMissingFileIsEmpty) {
  brevik::testing::TempDir home;
  EXPECT_EQ(PortMap::load(home.path(), DeviceNaming::Posix).deviceFor(2), "/dev/ttyS1");
  home.write("ports.ini", "COM2=sim\n");
  EXPECT_EQ(PortMap::load(home.path(), DeviceNaming::Posix).deviceFor(2), "sim");
}

TEST(PortMap, RecognisesTheVirtualLogger) {
  EXPECT_TRUE(isVirtualLoggerDevice("sim"));
  EXPECT_TRUE(isVirtualLoggerDevice("sim:network-station12"));
  EXPECT_FALSE(isVirtualLoggerDevice("simulator"));
  EXPECT_FALSE(isVirtualLoggerDevice("/dev/sim"));
  EXPECT_FALSE(isVirtualLoggerDevice(""));
}

}  // namespace
}  // namespace brevik::link
