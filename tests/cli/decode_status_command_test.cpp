#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "../protocol/status_reply_builder.h"
#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/kaldo_run.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using brevik::testing::TempDir;

using kaldo_test::KaldoRun;

KaldoRun kaldo(const TempDir& home, std::vector<std::string> args) {
  return kaldo_test::runKaldoCommand(home, "decode-status", std::move(args));
}

using kaldo_test::lines;

protocol::testing::StatusReplyBuilder reply() {
  protocol::testing::StatusReplyBuilder b;
  b.types = "A300";
  b.records[0] = "A";
  b.channels = "03";
  b.readings = "80804D000000";
  b.flags = "02";
  b.descriptions[0] = "Air;";
  return b;
}

TEST(KaldoDecodeStatus, PrintsTheFormInOrderWithTheHomesSettings) {
  TempDir home;
  settings::LoggerSettings settings;
  settings.FahrenheitUnits = 0;
  settings.TwelveHourClock = 0;
  ASSERT_TRUE(settings::saveSettings(home.path(), settings));
  const auto file = home.write("status.txt", reply().build() + "\r\n");
  const KaldoRun r = kaldo(home, {file.string(), "--schedule", "9830073300"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  const auto printed = lines(r.out);
  ASSERT_EQ(printed.size(), 34u);  // 33 components, the schedule line
  EXPECT_EQ(printed[0], "ModelBox: KALDO     8 bit");
  EXPECT_EQ(printed[1], "RevBox:  q");
  EXPECT_EQ(printed[2], "StationAddrBox:  5");
  EXPECT_EQ(printed[9], "Value1Box:    1.45 ");  // the description's empty unit
  EXPECT_EQ(printed[10], "Value2Box:  30.196 ");
  EXPECT_EQ(printed[13], "Desc1Box: Air;");
  EXPECT_EQ(printed[29], "CurrentStateBox: Memoi.Plein;  Enregistre.arrêté: Tue 17-Jun-2003 10:00:00");
  EXPECT_EQ(printed[30], "StopModeBox: Stop si mémoire pleine");
  EXPECT_EQ(printed[31], "ClockBox: Tue 24-Jun-2003 10:01:00");
  EXPECT_EQ(printed[33], "Schedule: Weekly dialout: Tuesday at 07:30");
}

TEST(KaldoDecodeStatus, HiddenComponentsAreLeftOut) {
  TempDir home;
  auto b = reply();
  b.address = "00";
  const auto file = home.write("status.txt", b.build());
  const KaldoRun r = kaldo(home, {file.string()});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out.find("StationAddrBox"), std::string::npos);
  EXPECT_EQ(r.out.find("StationLabel"), std::string::npos);
  EXPECT_NE(r.out.find("ClockBox: Tue 24-Jun-2003 10:01:00am\n"), std::string::npos);  // the default am/pm clock
}

TEST(KaldoDecodeStatus, RejectedRepliesExitWithFailure) {
  TempDir home;
  const auto shortFile = home.write("short.txt", std::string(120, '0'));
  KaldoRun r = kaldo(home, {shortFile.string()});
  EXPECT_EQ(r.status, kExitFailed);
  EXPECT_EQ(r.err, "kaldo decode-status: Invalid response from logger; Length = 120\n");
  EXPECT_EQ(r.out, "");
  std::string bad = reply().build();
  bad[4] = 'x';
  r = kaldo(home, {home.write("bad.txt", bad).string()});
  EXPECT_EQ(r.status, kExitFailed);
  EXPECT_EQ(r.err, "kaldo decode-status: Invalid response from logger; Length = 251\n");
}

TEST(KaldoDecodeStatus, UsageAndMissingFiles) {
  TempDir home;
  EXPECT_EQ(kaldo(home, {}).status, kExitUsage);
  EXPECT_EQ(kaldo(home, {"x", "--schedule"}).status, kExitUsage);
  EXPECT_EQ(kaldo(home, {(home / "none.txt").string()}).status, kExitFailed);
}

TEST(KaldoDecodeStatus, AMissingTableIsReported) {
  TempDir home;
  auto b = reply();
  b.types = "1000";
  b.records[0] = "../secret";
  const KaldoRun r = kaldo(home, {home.write("s.txt", b.build()).string()});
  EXPECT_EQ(r.status, kExitFailed);
  EXPECT_FALSE(r.err.empty());
}

}  // namespace
}  // namespace brevik::cli
