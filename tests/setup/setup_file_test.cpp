#include "setup/setup_file.h"

#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "support/temp_dir.h"

namespace brevik::setup {
namespace {

namespace fs = std::filesystem;

std::string pattern(std::size_t size) {
  std::string s(size, '\0');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 151 + 7) & 0xFF);
  return s;
}

TEST(SetupFile, ReadWriteReproducesEveryByte) {
  testing::TempDir dir;
  const std::string bytes = pattern(781);
  auto record = readSetupFile(dir.write("in.set", bytes));
  ASSERT_TRUE(record);
  ASSERT_TRUE(writeSetupFile(dir / "out.set", *record));
  EXPECT_EQ(dir.read("out.set"), bytes);
}

TEST(SetupFile, ExtraBytesAreIgnored) {
  testing::TempDir dir;
  const std::string bytes = pattern(2000);
  auto record = readSetupFile(dir.write("long.set", bytes));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->toBytes(), bytes.substr(0, 781));
}

TEST(SetupFile, ShortOrMissingFileFailsWithFileIoError) {
  testing::TempDir dir;
  const fs::path shortFile = dir.write("short.set", pattern(780));
  auto r = readSetupFile(shortFile);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().kind, ErrorKind::InvalidData);
  EXPECT_EQ(r.error().message, "File I/O error: " + shortFile.string() + " (it holds 780 of 781 bytes)");

  auto empty = readSetupFile(dir.write("empty.set", ""));
  EXPECT_FALSE(empty);

  auto missing = readSetupFile(dir / "nothere.set");
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().kind, ErrorKind::NotFound);
}

TEST(SetupFile, FailedWriteReportsAndKeepsOldFile) {
  testing::TempDir dir;
  LoggerConfiguration c;
  auto r = writeSetupFile(dir / "nodir" / "x.set", c);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().kind, ErrorKind::Io);
  EXPECT_EQ(r.error().message.rfind("File I/O error: ", 0), 0u);
}

TEST(SetupFile, WritesDefaultSetIntoTheHome) {
  testing::TempDir dir;
  dir.write("default.set", "old");
  FixedClock clock({2024, 2, 29, 23, 59, 59, 0, 4});
  const DefaultSetup d = writeDefaultSetupFile(dir.path(), clock);
  ASSERT_TRUE(d.written);
  EXPECT_EQ(dir.read("default.set"), d.record.toBytes());
  EXPECT_EQ(d.record, LoggerConfiguration::builtInDefault(clock));
  EXPECT_EQ(d.record.startCalendarDate(), (CalendarDate{2024, 2, 29}));
  EXPECT_EQ(d.record.startTime(), 86399u);
}

TEST(SetupFile, DefaultRecordSurvivesAFailedWrite) {
  testing::TempDir dir;
  FixedClock clock({2024, 1, 1, 0, 0, 0, 0, 1});
  const DefaultSetup d = writeDefaultSetupFile(dir / "missing-home", clock);
  EXPECT_FALSE(d.written);
  EXPECT_EQ(d.record.rateCode(), 'D');
}

TEST(SetupFile, BareNamesAreAlwaysTakenFromTheHome) {
  const fs::path home = "/home/user/brevik";
  struct Row { const char* stored; fs::path expected; };
  const Row rows[] = {
      {"/elsewhere/setups/ALLOFF.SET", home / "alloff.set"},
      {"C:\\KALDO\\Default.Set", home / "default.set"},
      {"default.set", home / "default.set"},
      {"AllOff.set", home / "alloff.set"},
      {"/data/site/lake.set", "/data/site/lake.set"},
      {"lake.set", home / "lake.set"},
      {"/data/notalloff.set", "/data/notalloff.set"},
  };
  for (const Row& r : rows) EXPECT_EQ(resolveSetupFileName(r.stored, home), r.expected) << r.stored;
}

TEST(SetupFile, BareNameOpensTheHomeFileNotTheStoredPath) {
  testing::TempDir dir;
  const std::string homeBytes = pattern(781);
  std::string otherBytes = pattern(781);
  otherBytes[0] = 'Z';
  dir.write("home/alloff.set", homeBytes);
  dir.write("other/ALLOFF.SET", otherBytes);
  const fs::path resolved = resolveSetupFileName((dir / "other" / "ALLOFF.SET").string(), dir / "home");
  auto record = readSetupFile(resolved);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->toBytes(), homeBytes);
}

TEST(SetupFile, TextsAndNamedSetupPath) {
  EXPECT_EQ(fileIoErrorText("a.set"), "File I/O error: a.set");
  EXPECT_EQ(sendSetupNotFoundText("lake"), "Impossible d'envoi  ; lake not found");
  EXPECT_EQ(setupFileNotFoundText("x.set"), "Setup File: x.set not found;");
  EXPECT_EQ(namedSetupFilePath("lake", "/h"), fs::path("/h/lake.set"));
  EXPECT_EQ(fileNamePart("a\\b/c.set"), "c.set");
  EXPECT_EQ(displayName(fs::path(u8"/tmp/r\u00e9seau.set")), "/tmp/r\xE9seau.set");
}

TEST(SetupFile, AllOffKeepsTheDefaultButSwitchesChannelsOff) {
  FixedClock clock({2000, 1, 1, 0, 0, 0, 0, 6});
  const auto def = LoggerConfiguration::builtInDefault(clock);
  const auto off = allOffConfiguration(clock);
  EXPECT_EQ(off.channelsOnCount(), 0);
  std::string a = def.toBytes(), b = off.toBytes();
  EXPECT_EQ(a.substr(6), b.substr(6));
  EXPECT_EQ(b.substr(2, 4), std::string(4, '\0'));
}

TEST(SetupFile, ShippedFilesAreWellFormed) {
  for (const char* name : {"default.set", "alloff.set"}) {
    auto record = readSetupFile(testing::dataDir() / name);
    ASSERT_TRUE(record) << name;
    EXPECT_EQ(fs::file_size(testing::dataDir() / name), 781u);
    EXPECT_EQ(record->rateCode(), 'D');
    EXPECT_EQ(record->channelsOnCount(), std::string(name) == "default.set" ? 4 : 0);
  }
  // Both were generated for midnight, 1 January 2000.
  FixedClock clock({2000, 1, 1, 0, 0, 0, 0, 6});
  EXPECT_EQ(readSetupFile(testing::dataDir() / "default.set")->toBytes(),
            LoggerConfiguration::builtInDefault(clock).toBytes());
  EXPECT_EQ(readSetupFile(testing::dataDir() / "alloff.set")->toBytes(), allOffConfiguration(clock).toBytes());
}

}  // namespace
}  // namespace brevik::setup
