#include "protocol/download_precheck.h"

#include <gtest/gtest.h>

#include "common/home_files.h"

#include <set>

#include "common/cp1252.h"
#include "common/bytes.h"
#include "protocol/auto_file_name.h"
#include "protocol/dialout_schedule.h"

namespace brevik::protocol {
namespace {

LoggerStatus withData() {
  LoggerStatus s;
  s.revision = 'q';
  s.memoryPointer = 0x0800;
  s.channelBits = 0x0F;
  s.activeChannels = 4;
  s.session = bytes::padded("Well4;siteB", 31);
  s.descriptions = {bytes::padded("A", 24), bytes::padded("B", 24), bytes::padded("C", 24), bytes::padded("D", 24)};
  return s;
}

TEST(DownloadPrecheck, ReasonsInOrder) {
  LoggerStatus s = withData();
  EXPECT_TRUE(downloadPrecheck(s).proceeds());

  s.memoryPointer = kEmptyMemoryPointer;
  EXPECT_EQ(downloadPrecheck(s).outcome, PrecheckOutcome::MemoryEmpty);
  s.flags = kFlagWrapped;  // an empty pointer in a wrapped ring still has data
  EXPECT_TRUE(downloadPrecheck(s).proceeds());

  s = withData();
  s.flags = kFlagWaitingPreset | kFlagWaitingTrigger;
  s.activeChannels = 0;
  auto r = downloadPrecheck(s);
  EXPECT_EQ(r.reason, " Tous les canaux: Off;");
  EXPECT_EQ(r.logCode, "ao");
  s.activeChannels = 4;
  r = downloadPrecheck(s);
  EXPECT_EQ(r.reason, std::string(" appareil en attente de l'heure prévue"_cp));
  EXPECT_EQ(r.logCode, "ws");
  s.flags = kFlagWaitingTrigger;
  r = downloadPrecheck(s);
  EXPECT_EQ(r.reason, std::string(" en attente canal1 fermé ou sonde connectée."_cp));
  EXPECT_EQ(r.logCode, "wp");
  s.revision = 'n';
  EXPECT_EQ(downloadPrecheck(s).reason, " waiting for all temp. probes to be attached.");
}

TEST(DownloadPrecheck, LogLinesAndMessages) {
  LoggerStatus s = withData();
  const std::string tail = s.session + "," + s.descriptions[0] + "," + s.descriptions[1] + "," +
                           s.descriptions[2] + "," + s.descriptions[3];
  const std::string noData = std::string("Pas de données    ;"_cp);
  const std::string noFile = std::string("Pas de fichier créé ."_cp);
  s.flags = kFlagWaitingTrigger;
  auto r = downloadPrecheck(s);
  EXPECT_EQ(precheckLogLine(r, s), noData + " wp " + tail);
  EXPECT_EQ(precheckMessage(r), noData + std::string(" en attente canal1 fermé ou sonde connectée."_cp) + "\r" + noFile);
  s.flags = kFlagWaitingPreset;
  r = downloadPrecheck(s);
  EXPECT_EQ(precheckLogLine(r, s), noData + " ws" + tail);
  s.flags = 0;
  s.memoryPointer = kEmptyMemoryPointer;
  r = downloadPrecheck(s);
  EXPECT_EQ(precheckLogLine(r, s), noData + "\r" + noFile + " " + tail);
  EXPECT_EQ(precheckMessage(r), noData + "\r" + noFile);
}

TEST(AutoFileName, WorkedExamples) {
  const auto none = [](const std::string&) { return false; };
  EXPECT_EQ(nextAutoFileName("Well4;siteB      ", 0, none).fileName, "siteB000001.qx1");
  const auto a = nextAutoFileName("Well4 site B", 0, none);
  EXPECT_EQ(a.fileName, "A000001.qx1");
  EXPECT_EQ(a.counter, 1u);
  EXPECT_EQ(nextAutoFileName("x;a;b ", 41, none).fileName, "a;b000042.qx1");
}

TEST(AutoFileName, WrapsAndSkipsExistingFiles) {
  const auto none = [](const std::string&) { return false; };
  EXPECT_EQ(nextAutoFileName("W;s", 999999, none).fileName, "s000000.qx1");
  const std::set<std::string> taken = {"s000000.qx1", "s000001.qx1"};
  const auto next = nextAutoFileName("W;s", 999999, [&](const std::string& n) { return taken.count(n) > 0; });
  EXPECT_EQ(next.fileName, "s000002.qx1");
  EXPECT_EQ(next.counter, 2u);
  // Every name taken: the search ends.
  EXPECT_FALSE(nextAutoFileName("W;s", 5, [](const std::string&) { return true; }).fileName.empty());
}

TEST(AutoFileName, NamesFromTheLoggerAreMadeSafe) {
  EXPECT_EQ(autoFileBaseName("W;../../etc/x"), "______etc_x");
  EXPECT_EQ(autoFileBaseName("W;C:\\tmp\\a"), "C__tmp_a");
  EXPECT_EQ(autoFileBaseName(std::string("W;a\0b*?|<>\"", 11)), "a_b______");
  EXPECT_EQ(autoFileBaseName("W;site.B  "), "site.B");
  EXPECT_EQ(autoFileBaseName(std::string("W;R") + "\xE9seau"), std::string("W;R\xE9seau").substr(2));
}

TEST(AutoFileName, NeverADeviceNorAnOptionNorAHiddenFile) {
  const auto none = [](const std::string&) { return false; };
  const struct {
    const char* session;
    const char* fileName;
  } cases[] = {
      {"W;NUL.site", "_NUL.site000001.qx1"},
      {"W;con.x", "_con.x000001.qx1"},
      {"W;COM1 .a", "_COM1 .a000001.qx1"},
      {"W;lpt9.", "_lpt9.000001.qx1"},
      {"W;Aux.b.c", "_Aux.b.c000001.qx1"},
      {"W;-rf", "_rf000001.qx1"},
      {"W;.hidden", "_hidden000001.qx1"},
      // Near misses stay as the logger gave them.
      {"W;CON", "CON000001.qx1"},
      {"W;COM0.a", "COM0.a000001.qx1"},
      {"W;CONSOLE.a", "CONSOLE.a000001.qx1"},
      {"W;a-.b", "a-.b000001.qx1"},
  };
  for (const auto& c : cases) {
    const std::string name = nextAutoFileName(c.session, 0, none).fileName;
    EXPECT_EQ(name, c.fileName) << c.session;
    EXPECT_FALSE(isWindowsDeviceName(name)) << name;
  }
}

TEST(DialOutSchedule, Kinds) {
  EXPECT_EQ(dialOutScheduleText("9830073300"), "Weekly dialout: Tuesday at 07:30");
  EXPECT_EQ(dialOutScheduleText("991523000000"), "Daily dialout at 23:15");
  EXPECT_EQ(dialOutScheduleText("9700063022"), "Monthly dialout on the 22th at 06:00");
  EXPECT_EQ(dialOutScheduleText("9700060001"), "Monthly dialout on the 1st at 06:00");
  EXPECT_EQ(dialOutScheduleText("9700060002"), "Monthly dialout on the 2nd at 06:00");
  EXPECT_EQ(dialOutScheduleText("9700060003"), "Monthly dialout on the 3rd at 06:00");
  EXPECT_EQ(dialOutScheduleText("9700060031"), "Monthly dialout on the 31st at 06:00");
  EXPECT_EQ(dialOutScheduleText("9700060009"), "Monthly dialout on the 9th at 06:00");
  EXPECT_EQ(dialOutScheduleText("0030073300"), "");
  EXPECT_EQ(dialOutScheduleText("98"), "");
  EXPECT_EQ(dialOutScheduleText("983007310000"), "Weekly dialout: Sunday at 07:30");
  EXPECT_EQ(dialOutScheduleText("970512002200"), "Monthly dialout on the 22th at 12:05");
  EXPECT_EQ(dialOutScheduleText("9700060021"), "Monthly dialout on the 21th at 06:00");
  EXPECT_EQ(dialOutScheduleText("9700060010"), "Monthly dialout on the 10th at 06:00");
  EXPECT_EQ(dialOutScheduleText(""), "");
}

}  // namespace
}  // namespace brevik::protocol
