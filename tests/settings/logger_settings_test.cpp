#include "settings/logger_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

#include "support/temp_dir.h"

namespace brevik::settings {
namespace {

using brevik::testing::TempDir;

// The fresh record, built here from the field table independently of the code.
std::string expectedDefaultRecord() {
  std::string r(1596, '\0');
  auto u32 = [&](std::size_t off, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) r[off + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto u8 = [&](std::size_t off, int v) { r[off] = static_cast<char>(v); };
  auto str = [&](std::size_t off, const std::string& s) {
    r[off] = static_cast<char>(s.size());
    r.replace(off + 1, s.size(), s);
  };
  u32(0, 19200);
  u32(4, 1);
  u8(8, 1);
  u8(9, 0);
  u8(10, 0);
  u8(11, 1);
  u8(12, 1);
  u8(13, 0);
  u8(14, 4);
  u8(18, 1);
  u8(19, 3);
  u8(20, 2);
  u8(21, 1);
  u8(22, 0);
  u8(23, 1);
  u8(24, 0);
  u32(28, 0);
  u8(32, 'n');
  u8(33, 5);
  str(34, "default.set");
  str(290, "site1a.qx1");
  str(546, "default.gcf");
  u8(802, 2);
  u8(1581, 1);
  u8(1588, 1);
  u32(1592, 1);
  return r;
}

std::string patternRecord() {
  std::string r(1596, '\0');
  for (std::size_t i = 0; i < r.size(); ++i) r[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  return r;
}

// The pattern in every text and reserved byte, and the defaults in every
// field a value range applies to: a whole record that reads as it stands.
std::string soundPatternRecord() {
  std::string r = patternRecord();
  const std::string defaults = expectedDefaultRecord();
  for (const SettingField& f : settingFields())
    if (f.kind != SettingKind::Text) r.replace(f.offset, f.width, defaults.substr(f.offset, f.width));
  return r;
}

void expectSameBytes(const std::string& expected, const std::string& actual) {
  ASSERT_EQ(expected.size(), actual.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    ASSERT_EQ(static_cast<unsigned char>(expected[i]), static_cast<unsigned char>(actual[i]))
        << "at offset " << i;
}

TEST(LoggerSettings, DefaultRecordMatchesTheTableAtEveryOffset) {
  expectSameBytes(expectedDefaultRecord(), LoggerSettings().toRecord());
}

TEST(LoggerSettings, MissingOrShortFileGivesDefaults) {
  TempDir home;
  expectSameBytes(expectedDefaultRecord(), loadSettings(home.path()).toRecord());
  home.write("kvlog.ini", "");
  expectSameBytes(expectedDefaultRecord(), loadSettings(home.path()).toRecord());
  home.write("kvlog.ini", patternRecord().substr(0, 1595));
  const LoggerSettings s = loadSettings(home.path());
  EXPECT_EQ(s.BaudRate, 19200u);
  expectSameBytes(expectedDefaultRecord(), s.toRecord());
}

TEST(LoggerSettings, RecordRoundTripsByteForByteReservedBytesIncluded) {
  TempDir home;
  std::string pattern = soundPatternRecord();
  pattern.replace(0, 4, std::string("\x80\x25\0\0", 4));  // 9600
  pattern[18] = 117;
  home.write("kvlog.ini", pattern);
  const LoggerSettings s = loadSettings(home.path());
  // The fields are read at their offsets, little-endian.
  EXPECT_EQ(s.BaudRate, 9600u);
  EXPECT_EQ(s.StationAddress, 117);
  EXPECT_EQ(s.PhoneNumber, pattern.substr(1325, static_cast<unsigned char>(pattern[1324])));
  ASSERT_TRUE(saveSettings(home.path(), s));
  expectSameBytes(pattern, home.read("kvlog.ini"));
}

TEST(LoggerSettings, LongerFileIsReadForItsFirstRecord) {
  TempDir home;
  const std::string pattern = soundPatternRecord();
  home.write("kvlog.ini", pattern + std::string(300, 'x'));
  const LoggerSettings s = loadSettings(home.path());
  ASSERT_TRUE(saveSettings(home.path(), s));
  expectSameBytes(pattern, home.read("kvlog.ini"));
}

TEST(LoggerSettings, ChangedFieldsAreWrittenAtTheirOffsetsOnly) {
  auto loaded = LoggerSettings::fromRecord(soundPatternRecord());
  ASSERT_TRUE(loaded);
  LoggerSettings s = *loaded;
  s.PortNumber = 3;
  s.SetupFileName = "x.set";
  s.ViewportLayout = {1, 1, 1, 1};
  s.AutoFileCounter = 999999;
  const std::string out = s.toRecord();
  std::string expected = soundPatternRecord();
  expected.replace(4, 4, std::string("\x03\0\0\0", 4));
  expected.replace(14, 4, std::string("\x01\x01\x01\x01", 4));
  expected.replace(34, 6, std::string("\x05x.set", 6));  // the rest of the field keeps its bytes
  expected.replace(1584, 4, std::string("\x3F\x42\x0F\0", 4));
  expectSameBytes(expected, out);
}

TEST(LoggerSettings, OverlongLengthBytesAreReadAsTheCapacity) {
  std::string rec = expectedDefaultRecord();
  rec[1324] = static_cast<char>(255);  // PhoneNumber holds at most 254
  auto s = LoggerSettings::fromRecord(rec);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->PhoneNumber.size(), 254u);
  EXPECT_FALSE(LoggerSettings::fromRecord(rec.substr(0, 100)));
}

TEST(LoggerSettings, FieldsOutOfRangeReadAsTheirDefaultsAndAreNamed) {
  TempDir home;
  std::string rec = soundPatternRecord();
  rec.replace(0, 4, "AAAA");                               // BaudRate 1094795585
  rec.replace(4, 4, std::string("\x0B\0\0\0", 4));        // PortNumber 11
  rec[14] = 9;                                             // ViewportLayout 9 0 0 0
  rec[32] = '\0';                                          // LastRevision
  rec.replace(1592, 4, std::string("\x10\x27\0\0", 4));    // ExportAveraging 10000
  home.write("kvlog.ini", rec);
  const SettingsFileCheck check = checkSettingsFile(home.path());
  EXPECT_EQ(check.state, SettingsFileCheck::State::Read);
  EXPECT_EQ(check.outOfRange,
            (std::vector<std::string>{"BaudRate", "PortNumber", "ViewportLayout", "LastRevision", "ExportAveraging"}));
  EXPECT_EQ(outOfRangeWarning(check),
            "kvlog.ini: BaudRate, PortNumber, ViewportLayout, LastRevision, ExportAveraging hold a value out of "
            "range and read as their defaults");
  const LoggerSettings defaults;
  const LoggerSettings s = loadSettings(home.path());
  EXPECT_EQ(s.BaudRate, defaults.BaudRate);
  EXPECT_EQ(s.PortNumber, defaults.PortNumber);
  EXPECT_EQ(s.ViewportLayout, defaults.ViewportLayout);
  EXPECT_EQ(s.LastRevision, defaults.LastRevision);
  EXPECT_EQ(s.ExportAveraging, defaults.ExportAveraging);
  // Every other field is read as it stands.
  EXPECT_EQ(s.PhoneNumber, rec.substr(1325, static_cast<unsigned char>(rec[1324])));
  EXPECT_TRUE(outOfRangeWarning(checkSettingsFile(home.path() / "none")).empty());
}

// A kvlog.ini that was not read as it stands is never saved over: it is kept
// as kvlog.ini.bad (an older one moves on), and the move is said and logged.
TEST(LoggerSettings, AFileNotReadAsItStandsIsKeptAsideBeforeASave) {
  std::string outOfRange = soundPatternRecord();
  outOfRange.replace(0, 4, "AAAA");
  const struct {
    const char* what;
    std::string content;
    const char* olderBad;  // a kvlog.ini.bad already there, or null
    const char* why;
  } cases[] = {
      {"empty", "", nullptr, "it could not be read (it is empty)"},
      {"short", soundPatternRecord().substr(0, 100), nullptr, "it could not be read (it holds 100 of 1596 bytes)"},
      {"out of range", outOfRange, nullptr, "fields were out of range (BaudRate)"},
      {"short, older copy kept", soundPatternRecord().substr(0, 7), "older damage", "it could not be read (it holds 7 of 1596 bytes)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir home;
    home.write("kvlog.ini", c.content);
    if (c.olderBad) home.write("kvlog.ini.bad", c.olderBad);
    LoggerSettings s = loadSettings(home.path());
    s.PortNumber = 3;
    std::vector<std::string> notices;
    ASSERT_TRUE(saveSettings(home.path(), s, [&](const std::string& n) { notices.push_back(n); }));
    EXPECT_EQ(home.read("kvlog.ini.bad"), c.content);
    if (c.olderBad) {
      EXPECT_EQ(home.read("kvlog.ini.bad.1"), c.olderBad);
    }
    EXPECT_EQ(loadSettings(home.path()).PortNumber, 3u);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "kvlog.ini was kept as kvlog.ini.bad before saving the settings: " + std::string(c.why));
    EXPECT_EQ(home.read("QXLOG.TXT").rfind(notices[0] + " ", 0), 0u) << home.read("QXLOG.TXT");
  }
  // A sound file is simply replaced, and a missing one created, silently.
  for (const bool present : {true, false}) {
    TempDir home;
    if (present) home.write("kvlog.ini", soundPatternRecord());
    int notices = 0;
    ASSERT_TRUE(saveSettings(home.path(), LoggerSettings(), [&](const std::string&) { ++notices; }));
    EXPECT_EQ(notices, 0);
    EXPECT_FALSE(std::filesystem::exists(home / "kvlog.ini.bad"));
    EXPECT_FALSE(std::filesystem::exists(home / "QXLOG.TXT"));
  }
}

TEST(LoggerSettings, SaveIntoAMissingHomeFails) {
  TempDir home;
  const Status saved = saveSettings(home / "nowhere", LoggerSettings());
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.error().kind, ErrorKind::Io);
}

#if !defined(_WIN32)
// A write that dies half-way (here: the file-size limit stops it after 100
// bytes, as a full disk would) must leave the previous kvlog.ini as it was.
TEST(LoggerSettings, FailedSaveLeavesThePreviousFileIntact) {
  TempDir home;
  const std::string previous = soundPatternRecord();
  home.write("kvlog.ini", previous);

  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tight = old;
  tight.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  const Status saved = saveSettings(home.path(), LoggerSettings());
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(saved);
  expectSameBytes(previous, home.read("kvlog.ini"));
  for (const auto& entry : std::filesystem::directory_iterator(home.path()))
    EXPECT_EQ(entry.path().filename(), "kvlog.ini") << "left behind: " << entry.path();
}
#endif

// ---- fields by name

TEST(SettingFields, CoverTheRecordInOrderWithoutOverlap) {
  const auto& fields = settingFields();
  ASSERT_EQ(fields.size(), 35u);
  std::set<std::string_view> names;
  std::size_t end = 0;
  std::size_t bytes = 0;
  for (const SettingField& f : fields) {
    EXPECT_GE(f.offset, end) << f.name;
    end = f.offset + f.width;
    bytes += f.width;
    EXPECT_TRUE(names.insert(f.name).second) << f.name;
  }
  EXPECT_EQ(end, 1596u);
  EXPECT_EQ(bytes, 1596u - 3 - 2 - 3);  // reserved 25-27, 802-803, 1581-1583
  EXPECT_EQ(fields.front().name, "BaudRate");
  EXPECT_EQ(fields.back().name, "ExportAveraging");
  EXPECT_EQ(findSettingField("phonenumber")->offset, 1324u);
  EXPECT_EQ(findSettingField("Nope"), nullptr);
}

struct SetCase {
  std::string name;
  std::string text;
  bool accepted;
};

TEST(SettingFields, SetFromTextChecksEveryRange) {
  const std::vector<SetCase> cases = {
      {"BaudRate", "57600", true},     {"BaudRate", "28800", true},    {"BaudRate", "14400", false},
      {"BaudRate", "0", false},        {"PortNumber", "10", true},     {"PortNumber", "0", false},
      {"PortNumber", "11", false},     {"FahrenheitUnits", "0", true}, {"UseModem", "2", false},
      {"ViewportCount", "4", true},    {"ViewportCount", "0", false},  {"StationAddress", "255", true},
      {"StationAddress", "256", false}, {"GridMode", "3", true},       {"GridMode", "4", false},
      {"SymbolSize", "1", true},       {"SymbolSize", "0", false},     {"ColorMode", "3", true},
      {"ColorMode", "4", false},       {"HumidityMode", "2", true},    {"HumidityMode", "3", false},
      {"AutoFileCounter", "999999", true}, {"AutoFileCounter", "1000000", false},
      {"LastModelCode", "6", true},    {"LastModelCode", "4", false},  {"ExportAveraging", "9999", true},
      {"ExportAveraging", "10000", false}, {"LastRevision", "q", true}, {"LastRevision", "qr", false},
      {"LastRevision", "", false},     {"LastRevision", " ", false},   {"ViewportLayout", "1 1 1 1", true},
      {"ViewportLayout", "2,2,0,0", true}, {"ViewportLayout", "1 1 1", false},
      {"ViewportLayout", "5 0 0 0", false}, {"ViewportLayout", "1 1 1 1 1", false},
      {"PhoneNumber", std::string(254, '5'), true}, {"PhoneNumber", std::string(255, '5'), false},
      {"SetupFileName", std::string(255, 'a'), true}, {"SetupFileName", std::string(256, 'a'), false},
      {"LocalModemInit", "", true},
      // Not numbers at all.
      {"PortNumber", "-1", false},     {"PortNumber", " 1", false},    {"PortNumber", "1.0", false},
      {"PortNumber", "", false},       {"PortNumber", "99999999999", false}, {"PortNumber", "+2", false},
  };
  for (const SetCase& c : cases) {
    LoggerSettings s;
    const std::string before = s.toRecord();
    const Status st = setSettingFromText(s, c.name, c.text);
    EXPECT_EQ(st.ok(), c.accepted) << c.name << "=" << c.text.substr(0, 20);
    if (st.ok()) {
      std::string shown = c.text;
      std::replace(shown.begin(), shown.end(), ',', ' ');  // the layout is shown with blanks
      EXPECT_EQ(settingText(s, *findSettingField(c.name)), shown) << c.name;
    } else {
      EXPECT_EQ(st.error().kind, ErrorKind::Usage);
      EXPECT_NE(st.error().message.find(c.name), std::string::npos) << st.error().message;
      EXPECT_EQ(s.toRecord(), before) << "refused value changed " << c.name;
    }
  }
}

TEST(SettingFields, UnknownNameAndMessagesSayWhatIsAllowed) {
  LoggerSettings s;
  const Status unknown = setSettingFromText(s, "Speed", "1");
  ASSERT_FALSE(unknown);
  EXPECT_EQ(unknown.error().message, "Unknown setting 'Speed'");
  const Status baud = setSettingFromText(s, "BaudRate", "14400");
  ASSERT_FALSE(baud);
  EXPECT_EQ(baud.error().message,
            "BaudRate: '14400' is not allowed; expected one of 1200, 2400, 4800, 9600, 19200, 28800, "
            "38400, 57600");
  EXPECT_EQ(findSettingField("PortNumber")->allowed, "a number from 1 to 10");
}

TEST(SettingFields, TextOfEveryFieldSetsBackToTheSameRecord) {
  auto loaded = LoggerSettings::fromRecord(expectedDefaultRecord());
  ASSERT_TRUE(loaded);
  LoggerSettings copy;
  copy.record.fill(0);
  for (const SettingField& f : settingFields())
    ASSERT_TRUE(setSettingFromText(copy, f.name, settingText(*loaded, f))) << f.name;
  // Every field written, only the reserved bytes differ (zero in `copy`).
  std::string expected = expectedDefaultRecord();
  expected[802] = 0;
  expected[1581] = 0;
  expectSameBytes(expected, copy.toRecord());
}

}  // namespace
}  // namespace brevik::settings
