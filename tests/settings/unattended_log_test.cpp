#include "settings/unattended_log.h"

#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "support/temp_dir.h"

namespace brevik::settings {
namespace {

using brevik::testing::TempDir;

const DateTime kAfternoon{2024, 3, 5, 14, 7, 9, 0, 2};
const DateTime kMorning{2024, 12, 31, 0, 5, 0, 0, 2};

TEST(UnattendedLog, LineIsMessageBlankShortDateBlankLongTimeCrLf) {
  FixedClock clock(kAfternoon);
  EXPECT_EQ(unattendedLogLine("Transfert terminé: site1a.qx1"_cp, clock),
            std::string("Transfert terminé: site1a.qx1 3/5/2024 2:07:09 PM\r\n"_cp));
  clock.set(kMorning);
  EXPECT_EQ(unattendedLogLine("x", clock), "x 12/31/2024 12:05:00 AM\r\n");
}

TEST(UnattendedLog, EntriesAppendAndLogAndQuitStartAnew) {
  TempDir home;
  FixedClock clock(kAfternoon);
  const UnattendedLog log(home.path(), clock);
  log.entry("first");
  clock.set(kMorning);
  log.entry("second");
  EXPECT_EQ(home.read("QXLOG.TXT"), "first 3/5/2024 2:07:09 PM\r\nsecond 12/31/2024 12:05:00 AM\r\n");

  const QuitRequest quit = log.logAndQuit("Invalid file name extension");
  EXPECT_FALSE(quit.saveSettings);
  EXPECT_TRUE(quit.hangUpModem);
  EXPECT_EQ(home.read("QXLOG.TXT"), "Invalid file name extension 12/31/2024 12:05:00 AM\r\n");
}

TEST(UnattendedLog, UnwritableLogIsIgnored) {
  TempDir home;
  FixedClock clock(kAfternoon);
  const UnattendedLog log(home / "missing" / "dir", clock);
  log.entry("lost");
  const QuitRequest quit = log.logAndQuit("lost too");
  EXPECT_FALSE(quit.saveSettings);
  EXPECT_FALSE(std::filesystem::exists(log.path()));
}

}  // namespace
}  // namespace brevik::settings
