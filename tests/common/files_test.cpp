#include "common/files.h"

#include <gtest/gtest.h>

#include <set>

#include "support/temp_dir.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

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

TEST(Files, ReadFailuresSayWhatFailedAndWhy) {
  testing::TempDir dir;
  fs::create_directories(dir / "folder.qx1");
  dir.write("big.qx1", std::string(101, 'x'));
  dir.write("fits.qx1", std::string(100, 'x'));
  const struct {
    fs::path path;
    ErrorKind kind;
    const char* reason;
  } cases[] = {
      {dir / "missing.qx1", ErrorKind::NotFound, "No such file or directory"},
      {dir / "folder.qx1", ErrorKind::Io, "it is a folder, not a file"},
      {dir / "big.qx1", ErrorKind::InvalidData, "is too large: more than 100 bytes"},
#if !defined(_WIN32)
      {"/dev/zero", ErrorKind::InvalidData, "is too large: more than 100 bytes"},
#endif
  };
  for (const auto& c : cases) {
    const auto read = files::readBounded(c.path, 100);
    ASSERT_FALSE(read) << c.path;
    EXPECT_EQ(read.error().kind, c.kind) << c.path;
    EXPECT_NE(read.error().message.find(c.path.string()), std::string::npos) << read.error().message;
    EXPECT_NE(read.error().message.find(c.reason), std::string::npos) << read.error().message;
  }
  EXPECT_EQ(files::readBounded(dir / "fits.qx1", 100)->size(), 100u);
}

#if !defined(_WIN32)
TEST(Files, ANewWriteRemovesTheTemporariesOfKilledWriters) {
  testing::TempDir dir;
  // A process that has ended: its id names no running process any more.
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ASSERT_GT(child, 0);
  ::waitpid(child, nullptr, 0);
  const std::string dead = std::to_string(child);
  const std::string self = std::to_string(::getpid());
  dir.write("site.csv.tmp-" + dead + "-123456-0", "half an export");
  dir.write("site.csv.tmp-" + dead + "-99-7", "another");
  dir.write("site.csv.tmp-1-5-0", "a running writer's");           // process 1 always runs
  dir.write("site.csv.tmp-" + self + "-5-0", "this process's own");
  dir.write("site.csv.tmp-notes", "a user's file");
  dir.write("other.csv.tmp-" + dead + "-1-0", "another target's");

  ASSERT_TRUE(files::writeFileAtomically(dir / "site.csv", "new"));

  std::set<std::string> left;
  for (const auto& e : fs::directory_iterator(dir.path())) left.insert(e.path().filename().string());
  const std::set<std::string> expected = {"site.csv", "site.csv.tmp-1-5-0", "site.csv.tmp-" + self + "-5-0",
                                          "site.csv.tmp-notes", "other.csv.tmp-" + dead + "-1-0"};
  EXPECT_EQ(left, expected);
}
#endif

}  // namespace
}  // namespace brevik
