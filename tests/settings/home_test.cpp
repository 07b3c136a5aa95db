#include "settings/home.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace brevik::settings {
namespace {

namespace fs = std::filesystem;
using brevik::testing::TempDir;

HomeInputs allCandidates(const TempDir& dir) {
  HomeInputs in;
  in.homeArgument = dir / "arg";
  in.homeVariable = (dir / "var").string();
  in.executableDir = dir.path();  // exists and is writable
  in.xdgDataHome = (dir / "xdg").string();
  in.userHome = (dir / "user").string();
  return in;
}

TEST(Home, ChosenInOrderArgumentVariableExecutableDirXdgUserHome) {
  TempDir dir;
  HomeInputs in = allCandidates(dir);
  EXPECT_EQ(*chooseHome(in), dir / "arg");
  in.homeArgument.reset();
  EXPECT_EQ(*chooseHome(in), dir / "var");
  in.homeVariable.reset();
  EXPECT_EQ(*chooseHome(in), dir.path());
  in.executableDir = dir / "not-there";
#if !defined(_WIN32) && !defined(__APPLE__)
  EXPECT_EQ(*chooseHome(in), dir / "xdg" / "brevik");
  in.xdgDataHome.reset();
  EXPECT_EQ(*chooseHome(in), dir / "user" / ".local" / "share" / "brevik");
  in.userHome.reset();
  const auto none = chooseHome(in);
  ASSERT_FALSE(none);
  EXPECT_NE(none.error().message.find("--home"), std::string::npos);
#endif
}

TEST(Home, RelativeHomesAreMadeAbsoluteAndEmptyOnesSkipped) {
  TempDir dir;
  HomeInputs in = allCandidates(dir);
  in.homeArgument = fs::path("rel") / "home";
  EXPECT_EQ(*chooseHome(in), (fs::current_path() / "rel" / "home").lexically_normal());
  in.homeArgument = fs::path();
  in.homeVariable = "";
  EXPECT_EQ(*chooseHome(in), dir.path());
}

#if !defined(_WIN32) && !defined(__APPLE__)
TEST(Home, SystemProgramFolderIsNeverAPortableHome) {
  TempDir dir;
  HomeInputs in = allCandidates(dir);
  in.homeArgument.reset();
  in.homeVariable.reset();
  in.executableDir = "/usr/bin";  // writable when running as root
  EXPECT_EQ(*chooseHome(in), dir / "xdg" / "brevik");
}

TEST(Home, RelativeXdgDataHomeIsIgnored) {
  TempDir dir;
  HomeInputs in = allCandidates(dir);
  in.homeArgument.reset();
  in.homeVariable.reset();
  in.executableDir = dir / "not-there";
  in.xdgDataHome = "relative/data";
  EXPECT_EQ(*chooseHome(in), dir / "user" / ".local" / "share" / "brevik");
}
#endif

TEST(Home, SeedingCopiesWhatIsMissingAndNeverOverwrites) {
  TempDir data;
  data.write("default.set", "shipped setup");
  data.write("tables/1.rvt", "shipped table");
  data.write("KVL.HLP", "shipped help");
  TempDir home;
  home.write("default.set", "the user's own setup");

  ASSERT_TRUE(seedHome(home.path(), data.path()));
  EXPECT_EQ(home.read("default.set"), "the user's own setup");
  EXPECT_EQ(home.read("tables/1.rvt"), "shipped table");
  EXPECT_EQ(home.read("KVL.HLP"), "shipped help");

  home.write("KVL.HLP", "edited help");
  ASSERT_TRUE(seedHome(home.path(), data.path()));
  EXPECT_EQ(home.read("KVL.HLP"), "edited help");
  std::size_t files = 0;
  for (const auto& e : fs::recursive_directory_iterator(home.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 3u) << "a partial copy was left behind";
}

TEST(Home, SeedingCreatesTheHomeAndToleratesNoShippedData) {
  TempDir dir;
  const fs::path home = dir / "new" / "home";
  ASSERT_TRUE(seedHome(home, dir / "no-data"));
  EXPECT_TRUE(fs::is_directory(home));
}

}  // namespace
}  // namespace brevik::settings
