#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/kaldo_run.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using brevik::testing::TempDir;

using kaldo_test::KaldoRun;

KaldoRun kaldo(const TempDir& home, std::vector<std::string> args) {
  return kaldo_test::runKaldoCommand(home, "settings", std::move(args));
}

using kaldo_test::lines;

TEST(KaldoSettings, PrintsEveryFieldByNameInRecordOrder) {
  TempDir home;
  const KaldoRun r = kaldo(home, {});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  const auto printed = lines(r.out);
  const auto& fields = settings::settingFields();
  ASSERT_EQ(printed.size(), fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i)
    EXPECT_EQ(printed[i].rfind(std::string(fields[i].name) + ": ", 0), 0u) << printed[i];
  EXPECT_EQ(printed[0], "BaudRate: 19200");
  EXPECT_EQ(printed[8], "ViewportLayout: 4 0 0 0");
  EXPECT_EQ(printed[17], "LastRevision: n");
  EXPECT_EQ(printed[19], "SetupFileName: default.set");
  EXPECT_EQ(printed[26], "PhoneNumber: ");
  EXPECT_FALSE(std::filesystem::exists(home / "kvlog.ini")) << "printing must not write";
}

TEST(KaldoSettings, ControlCharactersAreShownEscapedOnTheirLine) {
  TempDir home;
  settings::LoggerSettings s;
  s.LocalModemInit = "ATZ\r\nAT";
  s.LastRevision = '\x7F';
  ASSERT_TRUE(settings::saveSettings(home.path(), s));
  const auto printed = lines(kaldo(home, {}).out);
  ASSERT_EQ(printed.size(), settings::settingFields().size());
  EXPECT_EQ(printed[17], "LastRevision: \\x7F");
  EXPECT_EQ(printed[23], "LocalModemInit: ATZ\\x0D\\x0AAT");
}

TEST(KaldoSettings, SetsFieldsAndSavesTheRecord) {
  TempDir home;
  const KaldoRun r = kaldo(home, {"PortNumber=4", "viewportlayout=2 2 0 0", "ColorFileName=Réseau.gcf",
                             "LastRevision=q"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, "PortNumber: 4\nViewportLayout: 2 2 0 0\nColorFileName: Réseau.gcf\nLastRevision: q\n");
  const std::string rec = home.read("kvlog.ini");
  ASSERT_EQ(rec.size(), 1596u);
  EXPECT_EQ(rec.substr(4, 4), std::string("\x04\0\0\0", 4));
  EXPECT_EQ(rec.substr(14, 4), std::string("\x02\x02\0\0", 4));
  EXPECT_EQ(rec.substr(546, 11), "\x0aR\xE9seau.gcf");  // Windows-1252 in the record
  EXPECT_EQ(rec[32], 'q');
  EXPECT_EQ(rec[802], 2);  // the rest of a fresh record
  const auto printed = lines(kaldo(home, {}).out);
  EXPECT_EQ(printed[21], "ColorFileName: Réseau.gcf");
}

TEST(KaldoSettings, BadPairsChangeNothingAndExitWithUsage) {
  TempDir home;
  ASSERT_EQ(kaldo(home, {"StationAddress=5"}).status, kExitOk);
  const std::string before = home.read("kvlog.ini");
  struct Bad {
    std::vector<std::string> args;
    std::string says;
  };
  const std::vector<Bad> cases = {
      {{"PortNumber=2", "BaudRate=14400"}, "BaudRate: '14400' is not allowed; expected one of 1200, 2400"},
      {{"Speed=1"}, "unknown setting 'Speed'"},
      {{"GridMode"}, "'GridMode' is not NAME=VALUE"},
      {{"HumidityMode=3"}, "HumidityMode: '3' is not allowed; expected a number from 0 to 2"},
      {{"PhoneNumber=" + std::string(255, '1')}, "PhoneNumber: the text has 255 characters"},
      {{"SetupFileName=日本.set"}, "Windows-1252 cannot store"},
      {{"BaudRate=57600", "FastProtocol=0"}, "BaudRate 57600 is only supported with FastProtocol=1"},
  };
  for (const Bad& c : cases) {
    const KaldoRun r = kaldo(home, c.args);
    EXPECT_EQ(r.status, kExitUsage) << c.args[0];
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("nothing was changed"), std::string::npos) << r.err;
    EXPECT_EQ(home.read("kvlog.ini"), before) << c.args[0];
  }
}

TEST(KaldoSettings, SaveFailureExitsWithFailure) {
  TempDir home;
  std::filesystem::create_directories(home / "kvlog.ini" / "in-the-way");
  const KaldoRun r = kaldo(home, {"PortNumber=2"});
  EXPECT_EQ(r.status, kExitFailed);
  EXPECT_NE(r.err.find("kvlog.ini"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace brevik::cli
