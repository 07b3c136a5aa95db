#include <gtest/gtest.h>

#include <sstream>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "support/loaded_file_fixtures.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

struct Outcome {
  int rc;
  std::string out;
  std::string err;
};

Outcome run(const brevik::testing::TempDir& dir, std::vector<std::string> args) {
  args.insert(args.begin(), {"export"});
  args.insert(args.begin(), {"--home", (dir / "home").string()});
  std::ostringstream out, err;
  const int rc = runKaldo(args, {}, out, err);
  return {rc, out.str(), err.str()};
}

std::string fourSampleFile() {
  return fixtures::buildFile(fixtures::linearHeader(1, 'G', 4), {{10, 20, 30, 40}});
}

TEST(ExportCommand, FormFollowsTheNameUnlessAnOptionSaysOtherwise) {
  brevik::testing::TempDir dir;
  const auto src = dir.write("s.QX1", fourSampleFile());
  Outcome r = run(dir, {src.string(), (dir / "out.TXT").string(), "--no-header"});
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(r.out, (dir / "out.TXT").string() + " saved to disk\n");
  EXPECT_EQ(dir.read("out.TXT").substr(0, 30), "06/03/2003 09:05:00   10.000\r\n");

  r = run(dir, {src.string(), (dir / "out.dat").string(), "--avg", "2", "--note", "first run"});
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  const std::string csv = dir.read("out.dat");
  EXPECT_EQ(csv.substr(0, 12), " first run\r\n");
  EXPECT_NE(csv.find("06/03/2003,09:06:00,15.000\r\n06/03/2003,09:08:00,35.000\r\n"), std::string::npos);

  r = run(dir, {src.string(), (dir / "forced.txt").string(), "--csv", "--no-header", "--avg", "9999"});
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(dir.read("forced.txt"), "06/03/2003,09:08:00,25.000\r\n");
}

TEST(ExportCommand, UsesTheHomesDayFirstSetting) {
  brevik::testing::TempDir dir;
  const auto src = dir.write("s.QX1", fourSampleFile());
  ASSERT_EQ(run(dir, {src.string(), (dir / "warm.csv").string()}).rc, kExitOk);  // creates the home
  settings::LoggerSettings settings = settings::loadSettings(dir / "home");
  settings.ExportDayFirst = 1;
  ASSERT_TRUE(settings::saveSettings(dir / "home", settings).ok());
  const Outcome r = run(dir, {src.string(), (dir / "d.csv").string(), "--no-header", "--text"});
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(dir.read("d.csv").substr(0, 19), "03/06/2003 09:05:00");
}

TEST(ExportCommand, BadArgumentsAndFailures) {
  brevik::testing::TempDir dir;
  const auto src = dir.write("s.QX1", fourSampleFile());
  EXPECT_EQ(run(dir, {src.string()}).rc, kExitUsage);
  EXPECT_EQ(run(dir, {src.string(), "o.csv", "--avg", "ten"}).rc, kExitUsage);
  EXPECT_EQ(run(dir, {src.string(), "o.csv", "--csv", "--text"}).rc, kExitUsage);
  EXPECT_EQ(run(dir, {src.string(), "o.csv", "--avg"}).rc, kExitUsage);
  const Outcome missing = run(dir, {(dir / "none.QX1").string(), (dir / "o.csv").string()});
  EXPECT_EQ(missing.rc, kExitFailed);
  EXPECT_NE(missing.err.find("not found"), std::string::npos);
  const Outcome onSource = run(dir, {src.string(), src.string()});
  EXPECT_EQ(onSource.rc, kExitFailed);
  EXPECT_EQ(dir.read("s.QX1"), fourSampleFile());
}

}  // namespace
}  // namespace brevik::cli
