#include "protocol/status_texts.h"

#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "protocol/status_decode.h"
#include "protocol/time_stamps.h"
#include "status_reply_builder.h"
#include "support/temp_dir.h"

namespace brevik::protocol {
namespace {

LoggerStatus running() {
  LoggerStatus s;
  s.revision = 'q';
  s.channelBits = 0x0F;
  s.activeChannels = 4;
  s.memorySize = 32256;
  s.intervalMinutes = 1.0f;
  s.firstReading = DateTime{2003, 6, 3, 9, 5, 0, 0, 2};
  s.firstReadingText = "Tue  3-Jun-2003  9:05:00";
  s.stopTimeText = "Tue 17-Jun-2003 10:00:00";
  return s;
}

TEST(StateText, EachRowOfTheTable) {
  struct Case {
    const char* what;
    std::uint8_t flags;
    std::uint8_t channelBits;
    char revision;
    bool batteryLow;
    float interval;
    std::string expected;
  };
  const std::string stopped = "Enregistre.arrêté: Tue 17-Jun-2003 10:00:00"_cp.data();
  const Case cases[] = {
      {"no channel", 0x00, 0x00, 'q', false, 1, std::string("En arrêt     "_cp)},
      {"trigger", 0x10, 0x0F, 'q', false, 1, std::string("En arrêt     "_cp)},
      {"preset", 0x06, 0x0F, 'q', false, 1, std::string("En arrêt (en attente del'heure prévue )"_cp)},
      {"stopped, ch1 open, battery", 0x02, 0x2F, 'q', true, 1, std::string("Défaut pile  - "_cp) + stopped},
      {"stopped, ch1 open, old", 0x02, 0x2F, 'n', false, 1, "Probes detached - " + stopped},
      {"stopped, ch1 open", 0x02, 0x2F, 'o', false, 1, std::string("Canal 1 déconnecté - "_cp) + stopped},
      {"stopped, ch1 open, fast", 0x02, 0x2F, 'o', true, 0.0166f, stopped},
      {"stopped, battery", 0x02, 0x0F, 'q', true, 1, std::string("Défaut pile ;  "_cp) + stopped},
      {"stopped, full", 0x02, 0x0F, 'q', false, 1, "Memoi.Plein;  " + stopped},
      {"running ring", 0x01, 0x0F, 'q', false, 1, "* En Marche *"},
      {"running", 0x00, 0x0F, 'q', false, 1, "* En Marche *  ( memoirPlein Sun  8-Jun-2003 11:29:00pm )"},
      {"running fast", 0x00, 0x0F, 'q', false, 0.1f, "* En Marche *  ( memoirPlein approx. Tue  3-Jun-2003 10:31:24pm )"},
  };
  for (const Case& c : cases) {
    LoggerStatus s = running();
    s.flags = c.flags;
    s.channelBits = c.channelBits;
    s.activeChannels = c.channelBits & 0x0F ? 4 : 0;
    s.revision = c.revision;
    s.batteryLow = c.batteryLow;
    s.intervalMinutes = c.interval;
    EXPECT_EQ(currentStateText(s, true), c.expected) << c.what;
  }
}

TEST(StateText, NeverStartedLoggerIsSimplyRunning) {
  LoggerStatus s = running();
  s.firstReading = DateTime{1991, 1, 1, 0, 0, 0, 0, 2};
  s.firstReadingText = "Tue  1-Jan-1991 12:00:00am";
  EXPECT_EQ(currentStateText(s, true), "* En Marche *");
}

TEST(StatusTexts, FirstReadingWithoutChannels) {
  LoggerStatus s = running();
  s.channelBits = 0;
  s.activeChannels = 0;
  EXPECT_EQ(firstReadingBoxText(s), "TousLesCanauxOff");
  EXPECT_EQ(recordingCapacityText(s), " 0.0      ");
}

TEST(StatusTexts, FirstReadingLabelAndBox) {
  LoggerStatus s = running();
  EXPECT_EQ(firstReadingLabel(s), std::string("Début mesure "_cp));
  EXPECT_EQ(firstReadingBoxText(s), "Tue  3-Jun-2003  9:05:00");
  s.flags = kFlagWaitingPreset;
  EXPECT_EQ(firstReadingLabel(s), std::string("Début enregis"_cp));
  s.flags = kFlagWaitingTrigger;
  EXPECT_EQ(firstReadingLabel(s), std::string("Début enregis"_cp));
  EXPECT_EQ(firstReadingBoxText(s), std::string("quand canal1 fermé/sonde connect"_cp));
  s.revision = 'n';
  EXPECT_EQ(firstReadingBoxText(s), "when all temp. probes are attached");
}

TEST(StatusTexts, StopModes) {
  LoggerStatus s = running();
  EXPECT_EQ(stopModeText(s), std::string("Stop si mémoire pleine"_cp));
  s.flags = kFlagRing;
  EXPECT_EQ(stopModeText(s), "Marche continue ");
  s.channelBits |= kChannelBitStopOnOpen;
  EXPECT_EQ(stopModeText(s), std::string("Stop si canal 1 ouvert/sonde coupée"_cp));
  s.revision = 'n';
  EXPECT_EQ(stopModeText(s), "Stop si sondes ouvert");
}

TEST(StatusTexts, RecordingCapacityUnits) {
  struct Case {
    std::int32_t memory;
    int channels;
    float interval;
    const char* expected;
  };
  const Case cases[] = {
      {32256, 4, 0.00008333333f, "40.3 secs  "},  // 0.672 minutes
      {21504, 4, 0.005f, "26.9 mins  "},
      {32256, 4, 0.1f, "13.4 hours "},
      {32256, 1, 1.0f, "22.4 days  "},
      {32256, 4, 60.0f, "11.0 months"},
      {129024, 1, 720.0f, "176.7 years "},
  };
  for (const Case& c : cases) {
    LoggerStatus s = running();
    s.memorySize = c.memory;
    s.activeChannels = c.channels;
    s.intervalMinutes = c.interval;
    EXPECT_EQ(recordingCapacityText(s), c.expected);
  }
}

TEST(StatusTexts, ValueAndScaleTexts) {
  LoggerStatus s = running();
  s.typeCodes = {'3', 'X', 'k', 'A'};
  s.channelRecords = {"  0.00100.00", "  1.00  0.00", "K thermo    ", "A           "};
  s.values = {12.5f, 1.0f, -99.0f, 21.456f};
  s.scaled = {true, true, false, false};
  s.humidity = {true, false, false, false};
  s.unitTexts = {" % RH", "", " Deg C", " Deg C"};
  EXPECT_EQ(channelValueText(s, 1), "  12.50 % RH");  // humidity: 2 decimals
  EXPECT_EQ(channelValueText(s, 2), "  1.000");
  EXPECT_EQ(channelValueText(s, 3), " Open");
  EXPECT_EQ(channelValueText(s, 4), "  21.46 Deg C");
  s.values[3] = 123456789.0f;
  EXPECT_EQ(channelValueText(s, 4).size(), 18u);
  EXPECT_EQ(scaleBoxText(s, 1), "  0.00 100.00");
  EXPECT_EQ(scaleBoxText(s, 2), "c   1.00  0.00");
  EXPECT_EQ(scaleBoxText(s, 3), "K thermocouple");
  EXPECT_EQ(scaleBoxText(s, 4), "A           ");
}

TEST(StatusForm, ComponentsInOrderFromARealReply) {
  testing::StatusReplyBuilder b;
  b.types = "A300";
  b.records[0] = "A";
  b.channels = "03";
  b.readings = "80804D000000";
  const FixedClock clock(DateTime{2003, 6, 24, 10, 1, 0, 0, 2});
  const auto r = decodeStatusReply(b.build(), StatusSettings{false, false, HumidityMode::RelativeHumidity, 'q'},
                                   clock, homeTableReader(brevik::testing::dataDir()));
  ASSERT_TRUE(r.accepted()) << (r.tableError ? r.tableError->message : "");
  const StatusForm form = buildStatusForm(r.status, {false});
  std::vector<std::string> names;
  for (const auto& c : form.components) names.push_back(c.name);
  const std::vector<std::string> expected = {
      "ModelBox",  "RevBox",    "StationAddrBox", "StationLabel", "BatteryBox", "onoff1box",   "onoff2box",
      "onoff3box", "onoff4box", "Value1Box",      "Value2Box",    "Value3Box",  "Value4Box",   "Desc1Box",
      "Desc2Box",  "Desc3Box",  "Desc4Box",       "IdStatBox",    "scal1box",   "scal2box",    "scal3box",
      "scal4box",  "inp1box",   "inp2box",        "inp3box",      "inp4box",    "SampRateBox", "FirstReadingLabel",
      "FirstReadingBox", "CurrentStateBox", "StopModeBox", "ClockBox", "TimeSpanBox"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(form.text("ModelBox"), "KALDO     8 bit");
  EXPECT_EQ(form.text("RevBox"), " q");
  EXPECT_EQ(form.text("BatteryBox"), "14.1 volts");
  EXPECT_EQ(form.text("onoff3box"), "OFF");
  EXPECT_EQ(form.text("Value3Box"), "OFF");
  EXPECT_EQ(form.text("Value2Box"), " 30.196 ");  // 77 / 255 x 100, then the blank of an empty unit
  EXPECT_EQ(form.text("Value1Box").substr(7), " Deg C");
  EXPECT_EQ(form.text("Desc2Box"), "Water");
  EXPECT_EQ(form.text("IdStatBox"), "Well4;siteB");
  EXPECT_EQ(form.text("inp1box"), "standard");
  EXPECT_EQ(form.text("SampRateBox"), " 1 minute ");
  EXPECT_EQ(form.text("TimeSpanBox"), "11.2 days  ");
  EXPECT_EQ(form.text("CurrentStateBox"), "* En Marche *  ( memoirPlein Sat 14-Jun-2003 13:53:00 )");
  EXPECT_EQ(form.lastModelCodeOnShow, 5);
}

}  // namespace
}  // namespace brevik::protocol
