#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "setup/setup_file.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

struct Output {
  int rc;
  std::string out, err;
};

Output run(const testing::TempDir& dir, std::vector<std::string> args) {
  args.insert(args.begin(), {"--home", (dir / "home").string()});
  std::ostringstream out, err;
  const int rc = runKaldo(args, {}, out, err);
  return {rc, out.str(), err.str()};
}

TEST(SetupCommand, NewSetShow) {
  testing::TempDir dir;
  const std::string file = (dir / "site.set").string();
  ASSERT_EQ(run(dir, {"setup", "new", file}).rc, kExitOk);
  EXPECT_EQ(run(dir, {"setup", "new", file}).rc, kExitFailed);  // no silent overwrite
  EXPECT_EQ(run(dir, {"setup", "new", file, "--force"}).rc, kExitOk);

  const auto set = run(dir, {"setup", "set", file, "RateCode=G", "ScaleCode2=X", "ScaleText2=0/1",
                             "ChannelOn4=0", "SessionDescription=Serre é"});
  ASSERT_EQ(set.rc, kExitOk) << set.err;
  const auto shown = run(dir, {"setup", "show", file});
  ASSERT_EQ(shown.rc, kExitOk) << shown.err;
  for (const char* expected : {"RateCode=G\n", "ScaleText2=0.00001.0000\n", "ChannelOn4=0\n",
                               "SessionDescription=Serre é\n", "RateItem=1 minute\n",
                               "ScalingItem2=Fer/ouv: 0.0000 / 1.0000\n", "Channel4=OFF\n",
                               "StartItem=immédiat \n", "InputItem4=Standard\n", "Duration="})
    EXPECT_NE(shown.out.find(expected), std::string::npos) << expected << "\n" << shown.out;
}

TEST(SetupCommand, SetIsAllOrNothing) {
  testing::TempDir dir;
  const std::string file = (dir / "site.set").string();
  ASSERT_EQ(run(dir, {"setup", "new", file}).rc, kExitOk);
  const std::string before = dir.read("site.set");
  const auto r = run(dir, {"setup", "set", file, "RateCode=G", "Resolution=9"});
  EXPECT_EQ(r.rc, kExitUsage);
  EXPECT_NE(r.err.find("Resolution"), std::string::npos);
  EXPECT_EQ(dir.read("site.set"), before);
  EXPECT_EQ(run(dir, {"setup", "set", file, "RateCode"}).rc, kExitUsage);
  EXPECT_EQ(run(dir, {"setup", "set", (dir / "none.set").string(), "RateCode=G"}).rc, kExitFailed);
  EXPECT_EQ(run(dir, {"setup", "frobnicate"}).rc, kExitUsage);
}

TEST(SetupCommand, ShowsTheConfigurationOfADataFileHeader) {
  testing::TempDir dir;
  dir.write("site.QX1",
            "CA3XCq5@@C3.6 A\r\nTue 24-Jun-2003 10:01\r\nTue 24-Jun-2003 11:01\r\nSession\r\nx\r\n"
            "One\r\nTwo\r\nThree\r\nFour\r\n1\r\n71\r\n15\r\n2048 0\r\n"
            "A           \r\n0.0000100.00\r\n1.00000.0000\r\nC           \r\n");
  const auto shown = run(dir, {"setup", "show", (dir / "site.QX1").string()});
  ASSERT_EQ(shown.rc, kExitOk) << shown.err;
  EXPECT_NE(shown.out.find("RateCode=G\n"), std::string::npos);
  EXPECT_NE(shown.out.find("ScaleText2=0.0000100.00\n"), std::string::npos);
  EXPECT_NE(shown.out.find("Resolution=1\n"), std::string::npos);
  EXPECT_NE(shown.out.find("StopItem=en continu (FIFO tournant)\n"), std::string::npos);
  dir.write("bad.qx1", "C\r\n");
  const auto bad = run(dir, {"setup", "show", (dir / "bad.qx1").string()});
  EXPECT_EQ(bad.rc, kExitFailed);
  EXPECT_NE(bad.err.find("File corrupt or invalid"), std::string::npos);
}

}  // namespace
}  // namespace brevik::cli
