#include "protocol/scale_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace brevik::protocol {
namespace {

namespace fs = std::filesystem;
using brevik::testing::TempDir;

constexpr int kFullScale = 4095;

// A table file: title, kind line, third line, then the rows as given.
std::string tableText(std::string_view kind, const std::vector<std::string>& rows,
                      std::string_view eol = "\r\n") {
  std::string text = "title" + std::string(eol) + std::string(kind) + std::string(eol) +
                     "columns" + std::string(eol);
  for (const auto& row : rows) text += row + std::string(eol);
  return text;
}

// Whether the directory tells "x" and "X" apart (Linux: yes; Windows, macOS: no).
bool caseSensitive(const TempDir& dir) {
  dir.write("probe-case", "");
  return !fs::exists(dir / "PROBE-CASE");
}

// ---------------------------------------------------------------- scale texts

TEST(ScaleText, SplitsIntoTwoSixCharacterNumbers) {
  auto r = parseScaleText("100.000.0000");
  ASSERT_TRUE(r);
  EXPECT_FLOAT_EQ(r->low, 100.0f);
  EXPECT_FLOAT_EQ(r->high, 0.0f);
  r = parseScaleText("-25.00100.50");
  ASSERT_TRUE(r);
  EXPECT_FLOAT_EQ(r->low, -25.0f);
  EXPECT_FLOAT_EQ(r->high, 100.5f);
  r = parseScaleText(" 0.000 1,500");  // typed where the comma is the decimal point
  ASSERT_TRUE(r);
  EXPECT_FLOAT_EQ(r->low, 0.0f);
  EXPECT_FLOAT_EQ(r->high, 1.5f);
  r = parseScaleText("5.0000");  // short: the missing high half counts as blank
  ASSERT_TRUE(r);
  EXPECT_FLOAT_EQ(r->low, 5.0f);
  EXPECT_FLOAT_EQ(r->high, 0.0f);
}

TEST(ScaleText, RefusesTextThatIsNotTwoNumbers) {
  for (std::string_view bad : {"abcdef100.00", "5.0000x1.000", "1.2.3410.000", "  nan 1.0000"}) {
    auto r = parseScaleText(bad);
    ASSERT_FALSE(r) << bad;
    EXPECT_EQ(r.error().kind, ErrorKind::InvalidData);
  }
}

TEST(ScaleText, CaptionsShowBothNumbersAsTheyStand) {
  EXPECT_EQ(linearCaption("5.000010.000"), "Linear: 5.0000 / 10.000");
  EXPECT_EQ(contactCaption(" 0.000100.00"), "Fer/ouv:  0.000 / 100.00");
  EXPECT_EQ(linearCaption("5.0"), "Linear: 5.0 / ");
}

// ---------------------------------------------------------- tables per code

TEST(TableNames, FollowTheCodeAndTheName) {
  struct Case { char code; std::string_view name; std::string_view file; };
  const Case cases[] = {
      {'Y', "", "b.mvt"}, {'b', "", "b.mvt"}, {'v', "", "b.mvt"}, {'Z', "", "c.mvt"},
      {'w', "", "c.mvt"}, {'d', "", "e.mvt"}, {'x', "", "e.mvt"}, {'g', "", "j.mvt"},
      {'y', "", "j.mvt"}, {'h', "", "k.mvt"}, {'z', "", "k.mvt"}, {'^', "", "n.mvt"},
      {'{', "", "n.mvt"}, {'_', "", "r.mvt"}, {'q', "", "r.mvt"}, {'`', "", "s.mvt"},
      {'}', "", "s.mvt"}, {'a', "", "t.mvt"}, {'~', "", "t.mvt"}, {'f', "", "f.mvt"},
      {'u', "", "u.mvt"}, {'o', "", "o.mvt"},  // unlisted code: its own letter
      {'A', "A", "A.Rvt"}, {'1', " MY TAB ", "MYTAB.Rvt"}, {'1', "   ", "C.Rvt"},
      {'P', "P", "P.Rvt"}, {'L', "", "C.Rvt"},
  };
  for (const auto& c : cases) EXPECT_EQ(tableFileName(c.code, c.name), c.file) << c.code;
  EXPECT_EQ(tableSourceFor('0'), TableSource::None);
  EXPECT_EQ(tableSourceFor('R'), TableSource::None);
  EXPECT_EQ(tableSourceFor('3'), TableSource::ScaleText);
  EXPECT_EQ(tableSourceFor('X'), TableSource::ScaleText);
  EXPECT_EQ(tableSourceFor('C'), TableSource::File);
  EXPECT_TRUE(isThermocoupleCode('Y'));
  EXPECT_TRUE(isThermocoupleCode('~'));
  EXPECT_FALSE(isThermocoupleCode('X'));
}

// ------------------------------------------------------------ table parsing

TEST(TableParsing, OneDataLineIsAnImproperFormat) {
  auto r = parseTableText(tableText("R", {"25 10000"}), "Z9.Rvt", kFullScale);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().message, "Sensor Table 'Z9.Rvt' has improper format");
  r = parseTableText("only a title", "Z9.Rvt", kFullScale);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().message, "Sensor Table 'Z9.Rvt' has improper format");
}

TEST(TableParsing, KindLetterDecidesTheRawColumn) {
  auto percent = parseTableText(tableText("N percent", {"-40 0", "60 50", "160 100"}), "n.Rvt",
                                kFullScale);
  ASSERT_TRUE(percent);
  EXPECT_EQ(percent->kind, TableKind::Percent);
  EXPECT_EQ(percent->kindLetter, 'N');
  EXPECT_FLOAT_EQ(percent->points[0].raw, 0.0f);
  EXPECT_FLOAT_EQ(percent->points[1].raw, 2047.5f);
  EXPECT_FLOAT_EQ(percent->points[2].raw, 4095.0f);
  EXPECT_FLOAT_EQ(percent->points[2].value, 160.0f);

  auto light = parseTableText(tableText("L", {"0 70000", "10 5000"}), "L.Rvt", kFullScale);
  ASSERT_TRUE(light);
  EXPECT_EQ(light->kind, TableKind::Light);
  EXPECT_FLOAT_EQ(light->points[0].raw, 70000.0f);

  auto counts = parseTableText(tableText("", {"1 200", "2 100"}), "x.Rvt", kFullScale);
  ASSERT_TRUE(counts);
  EXPECT_EQ(counts->kind, TableKind::Counts);
  EXPECT_FLOAT_EQ(counts->points[1].raw, 100.0f);
}

TEST(TableParsing, ReadsNoMoreThan255Points) {
  std::vector<std::string> rows;
  for (int i = 0; i < 300; ++i) rows.push_back(std::to_string(i) + " " + std::to_string(1000 - i));
  rows.insert(rows.begin() + 260, "not read at all");
  auto r = parseTableText(tableText("R", rows), "big.Rvt", kFullScale);
  ASSERT_TRUE(r);
  ASSERT_EQ(r->points.size(), 255u);
  EXPECT_FLOAT_EQ(r->points.back().value, 254.0f);
  EXPECT_FLOAT_EQ(r->points.back().raw, 746.0f);
}

TEST(TableParsing, LineEndingsBlankLinesAndTrailingText) {
  const std::vector<std::string> rows = {"-10.5  9000", "\t0 5000.25\t", "", "   ",
                                         "10 1000 ohms (comment)"};
  std::vector<std::vector<TablePoint>> seen;
  for (std::string_view eol : {"\r\n", "\n", "\r"}) {
    auto r = parseTableText(tableText("R", rows, eol), "t.Rvt", kFullScale);
    ASSERT_TRUE(r) << r.error().message;
    seen.push_back(r->points);
  }
  ASSERT_EQ(seen[0].size(), 3u);
  EXPECT_FLOAT_EQ(seen[0][0].value, -10.5f);
  EXPECT_FLOAT_EQ(seen[0][1].raw, 5000.25f);
  EXPECT_FLOAT_EQ(seen[0][2].raw, 1000.0f);
  for (const auto& points : seen) {
    ASSERT_EQ(points.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(points[i].value, seen[0][i].value);
      EXPECT_EQ(points[i].raw, seen[0][i].raw);
    }
  }
}

TEST(TableParsing, GarbageLineMakesTheTableImproper) {
  for (std::string_view bad : {"25", "abc 100", "25 x", "25 nan", "1e999 5", "25,5 100", "+-5 100", "- 100"}) {
    auto r = parseTableText(tableText("R", {"20 2000", std::string(bad), "30 1000"}), "g.Rvt",
                            kFullScale);
    ASSERT_FALSE(r) << bad;
    EXPECT_EQ(r.error().message, "Sensor Table 'g.Rvt' has improper format: line 5 is not two numbers")
        << bad;
  }
  // Binary junk and NUL bytes are read safely.
  auto junk = parseTableText(std::string("\0\xff\r\n\x01\x02\r\n\0", 9), "j.Rvt", kFullScale);
  EXPECT_FALSE(junk);
}

// ------------------------------------------------------------ reading files

TEST(TableFiles, MissingFileFallsBackToCRvt) {
  TempDir home;
  home.write("C.Rvt", tableText("R", {"0 30000", "50 3000"}));
  auto r = readTableFile(home.path(), "Q7.Rvt", kFullScale);
  ASSERT_TRUE(r) << r.error().message;
  EXPECT_EQ(r->fileName, "C.Rvt");
  EXPECT_FLOAT_EQ(r->points[1].value, 50.0f);
  // The improper-format message names the file that was actually read.
  home.write("C.Rvt", tableText("R", {"0 30000"}));
  r = readTableFile(home.path(), "Q7.Rvt", kFullScale);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().message, "Sensor Table 'C.Rvt' has improper format");
}

TEST(TableFiles, MissingFileAndMissingCRvtIsAClearError) {
  TempDir home;
  auto r = readTableFile(home.path(), "Q7.Rvt", kFullScale);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().kind, ErrorKind::NotFound);
  EXPECT_EQ(r.error().message,
            "Sensor Table 'Q7.Rvt' cannot be opened, nor the default table 'C.Rvt'");
  r = readTableFile(home.path(), "C.Rvt", kFullScale);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().message, "Sensor Table 'C.Rvt' cannot be opened");
  // A folder with a table's name cannot be opened either.
  fs::create_directories(home / "D.Rvt");
  EXPECT_FALSE(readTableFile(home.path(), "D.Rvt", kFullScale));
}

TEST(TableFiles, NamesThatLeaveTheHomeAreRefusedUnopened) {
  TempDir root;
  const fs::path home = root / "home";
  fs::create_directories(home);
  root.write("outside.Rvt", tableText("R", {"1 2", "3 1"}));
  root.write("home/C.Rvt", tableText("R", {"1 2", "3 1"}));
  const std::string absolute = (root / "outside.Rvt").string();
  for (std::string_view name :
       {std::string_view("../outside.Rvt"), std::string_view(absolute), std::string_view("..\\outside.Rvt"),
        std::string_view("C:outside.Rvt"), std::string_view("sub/C.Rvt"), std::string_view(".."),
        std::string_view("x\0y.Rvt", 7), std::string_view("CON.Rvt"), std::string_view("com1.rvt"),
        std::string_view("")}) {
    auto r = readTableFile(home, name, kFullScale);
    ASSERT_FALSE(r) << name;  // refused, not replaced by C.Rvt
    EXPECT_EQ(r.error().kind, ErrorKind::Usage) << name;
  }
  // The thermocouple code '\' names "\.mvt": refused the same way.
  auto r = loadChannelTable(home, '\\', "", kFullScale);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().kind, ErrorKind::Usage);
  // A user table named from a channel record: blanks removed, then checked.
  r = loadChannelTable(home, '1', "../ou", kFullScale);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().kind, ErrorKind::Usage);
  EXPECT_TRUE(checkHomeFileName("MY-TAB_2.Rvt"));
  EXPECT_TRUE(checkHomeFileName("CONSOLE.Rvt"));
}

TEST(TableFiles, MixedCaseNamesMatchOnlyTheSameExtension) {
  TempDir home;
  if (!caseSensitive(home)) GTEST_SKIP() << "file system ignores case";
  home.write("P.rvt", tableText("R", {"0 10000", "-10 9000"}));
  home.write("B.Rvt", tableText("R", {"1 2", "3 1"}));
  home.write("C.Rvt", tableText("R", {"7 2", "8 1"}));
  // "P.Rvt" (the name built from code 'P') finds the shipped "P.rvt".
  auto p = readTableFile(home.path(), tableFileName('P', "P"), kFullScale);
  ASSERT_TRUE(p);
  EXPECT_FLOAT_EQ(p->points[0].raw, 10000.0f);
  // "b.mvt" differs from "B.Rvt" by its extension: not a match, so C.Rvt.
  auto b = readTableFile(home.path(), "b.mvt", kFullScale);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->fileName, "C.Rvt");
  EXPECT_FALSE(findHomeFile(home.path(), "b.mvt"));

  // The exact spelling always wins.
  home.write("k.mvt", "");
  home.write("K.MVT", "");
  EXPECT_EQ(findHomeFile(home.path(), "k.mvt")->filename(), "k.mvt");
  EXPECT_EQ(findHomeFile(home.path(), "K.MVT")->filename(), "K.MVT");
  // Otherwise the base name with the exact case, then byte order.
  EXPECT_EQ(findHomeFile(home.path(), "K.mvt")->filename(), "K.MVT");
  home.write("a.rvt", "");
  home.write("a.RVT", "");
  EXPECT_EQ(findHomeFile(home.path(), "A.Rvt")->filename(), "a.RVT");
  // A folder is not a table even when its name matches.
  fs::create_directories(home / "d.rvt");
  EXPECT_FALSE(findHomeFile(home.path(), "D.Rvt"));
}

TEST(TableFiles, ChannelTablesByCode) {
  TempDir home;
  home.write("k.mvt", tableText("V", {"100 4.096", "0 0"}));
  EXPECT_FALSE(loadChannelTable(home.path(), '0', "", kFullScale)->has_value());
  EXPECT_FALSE(loadChannelTable(home.path(), 'R', "", kFullScale)->has_value());

  auto linear = loadChannelTable(home.path(), '3', "-25.00100.50", 1023);
  ASSERT_TRUE(linear && linear->has_value());
  const ScaleTable& t = **linear;
  ASSERT_EQ(t.points.size(), 2u);
  EXPECT_FLOAT_EQ(t.points[0].value, -25.0f);
  EXPECT_FLOAT_EQ(t.points[0].raw, 0.0f);
  EXPECT_FLOAT_EQ(t.points[1].value, 100.5f);
  EXPECT_FLOAT_EQ(t.points[1].raw, 1023.0f);
  EXPECT_TRUE(t.fileName.empty());
  EXPECT_FALSE(loadChannelTable(home.path(), 'X', "open??closed", 1023));

  auto thermocouple = loadChannelTable(home.path(), 'z', "ignored", kFullScale);
  ASSERT_TRUE(thermocouple && thermocouple->has_value());
  EXPECT_EQ((*thermocouple)->fileName, "k.mvt");
  EXPECT_FLOAT_EQ((*thermocouple)->points[0].raw, 4.096f);
}

// ------------------------------------------------------------ shipped tables

std::vector<std::string> shippedTableNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(brevik::testing::dataDir())) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".Rvt" || ext == ".rvt" || ext == ".mvt")
      names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The raw value at `value` by linear interpolation along the table's rows.
float rawAt(const ScaleTable& table, float value) {
  const auto& p = table.points;
  for (std::size_t i = 0; i + 1 < p.size(); ++i) {
    const float a = p[i].value, b = p[i + 1].value;
    if ((value - a) * (value - b) <= 0.0f && a != b)
      return p[i].raw + (p[i + 1].raw - p[i].raw) * (value - a) / (b - a);
  }
  ADD_FAILURE() << value << " outside " << table.fileName;
  return NAN;
}

TEST(ShippedTables, EveryTableSuitsTheLookup) {
  const auto names = shippedTableNames();
  ASSERT_EQ(names.size(), 19u);
  for (const auto& name : names) {
    auto t = readTableFile(brevik::testing::dataDir(), name, kFullScale);
    ASSERT_TRUE(t) << name << ": " << t.error().message;
    EXPECT_EQ(t->fileName, name);  // read itself, not the fallback
    const auto& p = t->points;
    const std::size_t n = p.size();
    EXPECT_GE(n, 3u) << name;
    EXPECT_LE(n, kMaxTablePoints) << name;
    EXPECT_NE(p[0].raw, 0.0f) << name << ": a first raw value of 0 means a two-point table";
    for (std::size_t i = 1; i < n; ++i)
      EXPECT_LT(p[i].raw, p[i - 1].raw) << name << " row " << i + 1;
    if (name.ends_with(".mvt")) {
      for (std::size_t start : {50u, 100u, 150u, 200u})
        EXPECT_TRUE(n < start || n >= start + 2) << name << " has " << n << " rows";
    } else {
      EXPECT_TRUE(n < 55 || n >= 153) << name << " has " << n << " rows";
    }
    EXPECT_EQ(t->kind, name == "L.Rvt" ? TableKind::Light : TableKind::Counts) << name;
  }
}

TEST(ShippedTables, EveryTableCodeFindsAShippedFile) {
  const fs::path data = brevik::testing::dataDir();
  for (char code : std::string_view("YZdghx^_`abcejklmnqrstuvwfiyz{}~"))
    EXPECT_TRUE(findHomeFile(data, tableFileName(code, ""))) << code;
  for (std::string_view name : {"A", "B", "C", "L", "P"})
    EXPECT_TRUE(findHomeFile(data, tableFileName(name[0], name))) << name;
}

TEST(ShippedTables, AgreeWithTheReferenceEquations) {
  const fs::path data = brevik::testing::dataDir();
  struct Spot { std::string_view file; float celsius; float raw; float tolerance; };
  const Spot spots[] = {
      {"k.mvt", 100.0f, 4.096f, 0.0006f},   {"k.mvt", 25.0f, 1.000f, 0.002f},
      {"k.mvt", -200.0f, -5.891f, 0.0006f}, {"k.mvt", 1000.0f, 41.276f, 0.0006f},
      {"t.mvt", 100.0f, 4.279f, 0.0006f},   {"u.mvt", -100.0f, -3.379f, 0.0006f},
      {"j.mvt", 1200.0f, 69.553f, 0.0006f}, {"e.mvt", 500.0f, 37.005f, 0.0006f},
      {"n.mvt", 1000.0f, 36.256f, 0.0006f}, {"r.mvt", 1000.0f, 10.506f, 0.0006f},
      {"s.mvt", 1000.0f, 9.587f, 0.0006f},  {"b.mvt", 1000.0f, 4.834f, 0.0006f},
      {"c.mvt", 100.0f, 1.451f, 0.002f},    {"l.mvt", -100.0f, -3.554f, 0.0006f},
      {"P.rvt", 0.0f, 10000.0f, 0.01f},     {"P.rvt", 100.0f, 13850.55f, 0.05f},
      {"P.rvt", -100.0f, 6025.59f, 0.05f},  {"A.Rvt", 25.0f, 10000.0f, 5.0f},
      {"A.Rvt", 0.0f, 32650.0f, 50.0f},     {"B.Rvt", 25.0f, 30000.0f, 60.0f},
      {"C.Rvt", 25.0f, 2252.0f, 3.0f},
  };
  for (const auto& s : spots) {
    auto t = readTableFile(data, s.file, kFullScale);
    ASSERT_TRUE(t) << s.file;
    EXPECT_NEAR(rawAt(*t, s.celsius), s.raw, s.tolerance) << s.file << " at " << s.celsius;
  }
  auto light = readTableFile(data, "L.Rvt", kFullScale);
  ASSERT_TRUE(light);
  EXPECT_NEAR(rawAt(*light, 10.0f), 10000.0f, 1.0f);
  EXPECT_NEAR(rawAt(*light, 100.0f), 1995.3f, 1.0f);  // 10 kOhm x 10^-0.7
}

}  // namespace
}  // namespace brevik::protocol
