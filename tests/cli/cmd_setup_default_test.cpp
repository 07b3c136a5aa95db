#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/command.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

int run(const std::vector<std::string>& args, std::string* errText = nullptr) {
  std::ostringstream out, err;
  const int rc = runKaldo(args, {}, out, err);
  if (errText) *errText = err.str();
  return rc;
}

TEST(SetupDefaultCommand, RegeneratesTheShippedFiles) {
  testing::TempDir dir;
  const std::string home = (dir / "home").string();
  ASSERT_EQ(run({"--home", home, "setup-default", (dir / "d.set").string(), "--at", "2000-01-01 00:00:00"}), kExitOk);
  ASSERT_EQ(run({"--home", home, "setup-default", (dir / "a.set").string(), "--all-off", "--at", "2000-01-01"}), kExitOk);
  const auto readShipped = [](const char* name) {
    std::ifstream in(testing::dataDir() / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_EQ(dir.read("d.set"), readShipped("default.set"));
  EXPECT_EQ(dir.read("a.set"), readShipped("alloff.set"));
}

TEST(SetupDefaultCommand, RejectsBadArguments) {
  testing::TempDir dir;
  const std::string home = (dir / "home").string();
  std::string err;
  EXPECT_EQ(run({"--home", home, "setup-default"}, &err), kExitUsage);
  EXPECT_EQ(run({"--home", home, "setup-default", "x.set", "--at", "2001-02-29"}, &err), kExitUsage);
  EXPECT_NE(err.find("not a valid date"), std::string::npos);
  EXPECT_EQ(run({"--home", home, "setup-default", "x.set", "--at", "2001-02-28 24:00:00"}), kExitUsage);
  EXPECT_EQ(run({"--home", home, "setup-default", "x.set", "--at"}), kExitUsage);
  EXPECT_EQ(run({"--home", home, "setup-default", "x.set", "--bogus"}), kExitUsage);
  EXPECT_EQ(run({"--home", home, "setup-default", (dir / "no" / "dir.set").string()}, &err), kExitFailed);
  EXPECT_NE(err.find("File I/O error: "), std::string::npos);
}

}  // namespace
}  // namespace brevik::cli
