#include "common/files.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace brevik {
namespace {

namespace fs = std::filesystem;

TEST(Files, AtomicWriteReplacesWholeFileAndLeavesNoTemporary) {
  testing::TempDir dir;
  const fs::path target = dir.write("kvlog.ini", "old contents");
  ASSERT_TRUE(files::writeFileAtomically(target, std::string("new\0bytes", 9)));
  EXPECT_EQ(dir.read("kvlog.ini"), std::string("new\0bytes", 9));
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(Files, FailedWriteKeepsTheOldFile) {
  testing::TempDir dir;
  dir.write("sub/kvlog.ini", "precious");
  // A target inside a directory that does not exist cannot be created.
  auto r = files::writeFileAtomically(dir / "missing" / "kvlog.ini", "x");
  EXPECT_FALSE(r);
  EXPECT_EQ(r.error().kind, ErrorKind::Io);
  // A target that is a directory cannot be replaced; the directory survives.
  fs::create_directories(dir / "adir" / "inner");
  EXPECT_FALSE(files::writeFileAtomically(dir / "adir", "x"));
  EXPECT_TRUE(fs::is_directory(dir / "adir" / "inner"));
  EXPECT_EQ(dir.read("sub/kvlog.ini"), "precious");
}

TEST(Files, ReadsPrefixAndReportsMissingFiles) {
  testing::TempDir dir;
  const fs::path p = dir.write("a.bin", "0123456789");
  EXPECT_EQ(*files::readPrefix(p, 4), "0123");
  EXPECT_EQ(*files::readAll(p), "0123456789");
  auto missing = files::readAll(dir / "nope");
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().kind, ErrorKind::NotFound);
  ASSERT_TRUE(files::appendToFile(dir / "log", "a\r\n"));
  ASSERT_TRUE(files::appendToFile(dir / "log", "b\r\n"));
  EXPECT_EQ(dir.read("log"), "a\r\nb\r\n");
}

}  // namespace
}  // namespace brevik
