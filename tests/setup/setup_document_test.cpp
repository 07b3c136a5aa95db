#include <gtest/gtest.h>

#include "setup/setup_document.h"
#include "setup/setup_file.h"
#include "support/temp_dir.h"

namespace brevik::setup {
namespace {

const DateTime kNow{2024, 3, 5, 10, 20, 30, 0, 2};

TEST(SetupDocument, SaveAsNeedsTheSetExtension) {
  testing::TempDir dir;
  FixedClock clock(kNow);
  SetupDocument doc;
  doc.current = LoggerConfiguration::builtInDefault(clock);
  doc.form.populateFromRecord(doc.current, clock);
  doc.form.setSessionDescription("Site");
  const auto refused = doc.saveAs(dir / "site.txt");
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().message, "File not saved; file name must end in '.SET'");
  EXPECT_TRUE(doc.form.modified());
  EXPECT_FALSE(std::filesystem::exists(dir / "site.txt"));

  ASSERT_TRUE(doc.saveAs(dir / "site.Set").ok());
  EXPECT_FALSE(doc.form.modified());
  EXPECT_EQ(doc.form.fileNameLabel, "site.Set");
  EXPECT_EQ(doc.saved, doc.current);
  const auto reread = readSetupFile(dir / "site.Set");
  ASSERT_TRUE(reread.ok());
  EXPECT_EQ(*reread, doc.current);
  EXPECT_EQ(reread->sessionDescription().substr(0, 5), "Site ");
}

TEST(SetupDocument, LoadSetupAndDataFilesAndDiscard) {
  testing::TempDir dir;
  FixedClock clock(kNow);
  LoggerConfiguration other = LoggerConfiguration::builtInDefault(clock);
  other.setRateCode('G');
  ASSERT_TRUE(writeSetupFile(dir / "other.set", other).ok());

  SetupDocument doc;
  doc.current = LoggerConfiguration::builtInDefault(clock);
  auto loaded = doc.load(dir / "other.set", clock);
  ASSERT_TRUE(loaded.ok());
  EXPECT_TRUE(loaded->becameSetupFile);
  EXPECT_EQ(doc.current.rateCode(), 'G');
  EXPECT_EQ(doc.form.rateBox.text(), "1 minute");

  doc.current.setRateCode('H');
  doc.discardChanges();
  EXPECT_EQ(doc.current.rateCode(), 'G');

  dir.write("bad.qx1", "C\r\nshort\r\n");
  const auto corrupt = doc.load(dir / "bad.qx1", clock);
  ASSERT_FALSE(corrupt.ok());
  EXPECT_EQ(corrupt.error().message, "File corrupt or invalid");
  EXPECT_EQ(doc.current.rateCode(), 'G');

  const auto missing = doc.load(dir / "none.set", clock);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().message.rfind("File I/O error: ", 0), 0u);
}

TEST(SetupDocument, NamedSetupForSend) {
  testing::TempDir dir;
  FixedClock clock(kNow);
  LoggerConfiguration site = LoggerConfiguration::builtInDefault(clock);
  site.setRateCode('J');
  ASSERT_TRUE(writeSetupFile(dir / "site3.set", site).ok());
  SetupDocument doc;
  ASSERT_TRUE(doc.loadNamedForSend("site3", dir.path(), clock).ok());
  EXPECT_EQ(doc.current.rateCode(), 'J');
  EXPECT_EQ(doc.form.fileNameLabel, "site3.set");
  const auto missing = doc.loadNamedForSend("nowhere", dir.path(), clock);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().message, "Impossible d'envoi  ; nowhere.set not found");
  EXPECT_EQ(doc.current.rateCode(), 'J');
}

TEST(SetupDocument, StartupLoadTakesTheFileOrWritesTheDefault) {
  struct Row {
    const char* stored;    // SetupFileName of the settings
    bool fileThere;        // site.set exists in the home
    const char* expectedName;
    const char* expectedLabel;
    bool notFound;
  };
  const Row rows[] = {
      {"site.set", true, "site.set", "site.set", false},
      {"C:\\old\\site.set", false, "default.set", "default.set", true},
      {"gone.set", true, "default.set", "default.set", true},
  };
  for (const Row& r : rows) {
    testing::TempDir dir;
    FixedClock clock(kNow);
    LoggerConfiguration site = LoggerConfiguration::builtInDefault(clock);
    site.setRateCode('G');
    if (r.fileThere) {
      ASSERT_TRUE(writeSetupFile(dir / "site.set", site).ok());
    }
    SetupDocument doc;
    const SetupDocument::Startup out = doc.loadAtStartup(r.stored, dir.path(), clock);
    EXPECT_EQ(out.setupFileName, r.expectedName) << r.stored;
    EXPECT_EQ(doc.form.fileNameLabel, r.expectedLabel) << r.stored;
    EXPECT_EQ(doc.saved, doc.current) << r.stored;
    EXPECT_FALSE(doc.form.modified());
    ASSERT_EQ(out.notFound.has_value(), r.notFound) << r.stored;
    if (r.notFound) {
      EXPECT_EQ(*out.notFound, std::string("Setup File: ") + r.stored + " not found;");
      EXPECT_EQ(doc.current, LoggerConfiguration::builtInDefault(clock));
      const auto written = readSetupFile(dir / "default.set");
      ASSERT_TRUE(written.ok());
      EXPECT_EQ(*written, doc.current);
    } else {
      EXPECT_EQ(doc.current, site);
      EXPECT_EQ(doc.form.rateBox.text(), "1 minute");
    }
  }
}

TEST(SetupDocument, ModelBoxShowsTheResolutionForTheKaldoModelsOnly) {
  FixedClock clock(kNow);
  SetupDocument doc;
  doc.current = LoggerConfiguration::builtInDefault(clock);
  doc.form.populateFromRecord(doc.current, clock);
  const std::string before = doc.form.durationText;
  doc.form.selectModel(4, doc.current);
  EXPECT_TRUE(doc.form.resolutionBox.visible);
  EXPECT_EQ(doc.current.resolution(), doc.form.resolutionBox.index + 1);
  EXPECT_NE(doc.form.durationText, before);
  EXPECT_TRUE(doc.form.modified());
  doc.form.selectModel(1, doc.current);
  EXPECT_FALSE(doc.form.resolutionBox.visible);
  EXPECT_EQ(doc.current.resolution(), kResolutionNotApplicable);
}

}  // namespace
}  // namespace brevik::setup
