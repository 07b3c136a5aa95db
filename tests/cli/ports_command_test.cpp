// kaldo ports on a fake /dev and /sys, in text and JSON, and what a status
// says when the port's device is not there.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/kaldo_run.h"
#include "support/fake_device_tree.h"

namespace brevik::cli {
namespace {

using kaldo_test::runKaldoCommand;

TEST(PortsCommand, ListsTheDevicesAndWhatEachComPortIs) {
  brevik::testing::TempDir home;
  const link::DeviceRoots roots = brevik::testing::makeFakeDeviceTree(home / "machine");
  home.write("ports.ini", "COM1=usb:A1B2C3\nCOM2=usb:0000\nCOM3=sim\n");
  const std::vector<std::string> rootArgs = {"--dev-root", roots.dev.string(), "--sys-root", roots.sys.string()};
  const std::string byId = (roots.dev / "serial" / "by-id" / brevik::testing::kFakeAdapterById).string();

  const auto text = runKaldoCommand(home, "ports", rootArgs);
  ASSERT_EQ(text.status, kExitOk) << text.err;
  EXPECT_NE(text.out.find("  " + roots.dev.string() + "/ttyUSB0  FTDI FT232R USB UART, serial A1B2C3 (0403:6001)\n"
                          "      " + byId + "\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("  COM1  usb:A1B2C3 = " + byId + " - FTDI"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("(the settings' port)"), std::string::npos);
  EXPECT_NE(text.out.find("  COM2  usb:0000 - no such adapter is plugged in\n"), std::string::npos);

  auto args = rootArgs;
  args.push_back("--json");
  const auto json = runKaldoCommand(home, "ports", args);
  ASSERT_EQ(json.status, kExitOk) << json.err;
  const auto doc = nlohmann::json::parse(json.out);
  ASSERT_EQ(doc["devices"].size(), 3u);
  const auto& ftdi = doc["devices"][2];
  EXPECT_EQ(ftdi["name"], "ttyUSB0");
  EXPECT_EQ(ftdi["byId"][0], byId);
  EXPECT_EQ(ftdi["usb"]["serialNumber"], "A1B2C3");
  EXPECT_EQ(ftdi["usb"]["vendorId"], "0403");
  EXPECT_TRUE(doc["devices"][1]["usb"].is_null()) << "ttyS0 is no USB device";
  ASSERT_EQ(doc["ports"].size(), 10u);
  EXPECT_EQ(doc["ports"][0]["number"], 1);
  EXPECT_EQ(doc["ports"][0]["device"], byId);
  EXPECT_EQ(doc["ports"][0]["deviceName"], "ttyUSB0");
  EXPECT_EQ(doc["ports"][0]["present"], true);
  EXPECT_EQ(doc["ports"][0]["settingsPort"], true);
  EXPECT_EQ(doc["ports"][1]["present"], false);
  EXPECT_EQ(doc["ports"][2]["virtualLogger"], true);

  EXPECT_EQ(runKaldoCommand(home, "ports", {"--dev-root"}).status, kExitUsage);
}

TEST(PortsCommand, AMissingDeviceIsNamedOnStandardError) {
  brevik::testing::TempDir home;
  const std::string gone = (home / "ttyUSB9").string();
  home.write("ports.ini", "COM1=" + gone + "\n");
  const auto run = runKaldoCommand(home, "status", {"--trace"});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.out, "! Impossible d'ouvrir le PortCom - SVP v\xC3\xA9rifier   \n");
  EXPECT_NE(run.err.find("port error: cannot open " + gone), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("kaldo status: " + gone + " - not there (kaldo ports lists"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace brevik::cli
