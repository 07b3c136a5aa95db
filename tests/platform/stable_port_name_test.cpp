// A port named by a link that stays put (as /dev/serial/by-id names an
// adapter) works through QSerialPort: the virtual logger on a pty, reached
// through a symlink that ports.ini names for COM1.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/command.h"
#include "sim/logger_profile.h"
#include "support/temp_dir.h"
#include "pty_twin.h"

namespace brevik::platform {
namespace {

namespace fs = std::filesystem;

TEST(StablePortName, KaldoStatusOpensTheByIdLinkOfThePortMapAndPortsShowsIt) {
  auto profile = sim::loadSimProfile("kaldo5-12bit", BREVIK_DATA_DIR "/sim");
  ASSERT_TRUE(profile.ok());
  brevik::testing::PtyTwin twin(std::move(*profile));
  ASSERT_TRUE(twin.ok()) << twin.error();

  brevik::testing::TempDir home;
  const fs::path byId = home / "by-id" / "usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0";
  fs::create_directories(byId.parent_path());
  fs::create_symlink(twin.device(), byId);
  home.write("ports.ini", "COM1=" + byId.string() + "\n");
  ASSERT_TRUE(brevik::testing::saveFastLineSettings(home.path()));

  std::ostringstream out, err, portsOut, portsErr;
  const int status = cli::runKaldo({"--home", home.path().string(), "status", "--trace"}, home.path(), out, err);
  const int ports = cli::runKaldo({"--home", home.path().string(), "ports", "--json"}, home.path(), portsOut, portsErr);
  twin.stop();

  EXPECT_EQ(status, cli::kExitOk) << out.str() << err.str();
  EXPECT_EQ(out.str().rfind("ModelBox: KALDO     12 bit\n", 0), 0u) << out.str();
  EXPECT_NE(err.str().find("] * open COM1 @57600"), std::string::npos) << err.str();
  ASSERT_EQ(ports, cli::kExitOk) << portsErr.str();
  const auto com1 = nlohmann::json::parse(portsOut.str())["ports"][0];
  EXPECT_EQ(com1["device"], byId.string());
  EXPECT_EQ(com1["present"], true);
  EXPECT_EQ(com1["virtualLogger"], false);
}

}  // namespace
}  // namespace brevik::platform
