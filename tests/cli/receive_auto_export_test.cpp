// kaldo receive with AutoExport on: the data file is followed by its CSV
// export in the home.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using brevik::testing::TempDir;

std::size_t lineCount(const std::string& text) {
  std::size_t n = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++n;
  return n;
}

TEST(KaldoReceiveAutoExport, WritesTheCsvBesideTheSettingsWhenAskedTo) {
  for (const bool autoExport : {false, true}) {
    TempDir home;
    settings::LoggerSettings s;
    s.FastProtocol = 0;
    s.BaudRate = 9600;
    s.AutoExport = autoExport ? 1 : 0;
    s.ExportAveraging = 10;
    ASSERT_TRUE(settings::saveSettings(home.path(), s));
    const auto profile = home.write("one.logger", "model = 5\nresolution = 8\npointer = 0x0300\n"
                                                  "channels = 0x01\ntypes = 3000\n");
    std::filesystem::create_directories(home / "data");
    const auto target = home / "data" / "site7.qx1";
    std::vector<std::string> args{"--home", home.path().string(), "receive", target.string(),
                                  "--port", "sim:" + profile.string()};
    std::ostringstream out, err;
    ASSERT_EQ(runKaldo(args, home.path() / "bin", out, err), 0) << err.str() << out.str();
    const auto csv = home / "site7.csv";
    ASSERT_EQ(std::filesystem::exists(csv), autoExport) << out.str();
    if (!autoExport) continue;
    EXPECT_NE(out.str().find(csv.string() + " saved to disk"), std::string::npos) << out.str();
    const std::string text = home.read("site7.csv");
    // 256 samples of one channel in averages of ten: 26 rows after the header.
    EXPECT_EQ(lineCount(text), 17u + 26u) << text.substr(0, 2000);
    EXPECT_NE(text.find(" Note: Each reading is the average of 10 consecutive samples."), std::string::npos);
  }
}

}  // namespace
}  // namespace brevik::cli
