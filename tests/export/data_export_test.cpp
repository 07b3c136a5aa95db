// Text and CSV export: header lines, rows, averaging, stamps, units, table
// sources and failures.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

#include "program/auto_export.h"
#include "export/data_export.h"
#include "graph/get_data.h"
#include "support/loaded_file_fixtures.h"
#include "datafile/qx2_table.h"
#include "support/temp_dir.h"

namespace brevik::exporting {
namespace {

using fixtures::interleave;
using fixtures::linearHeader;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  datafile::LineCursor cursor(text);
  std::string_view line;
  while (cursor.next(line)) lines.emplace_back(line);
  return lines;
}

std::vector<std::uint8_t> ramp(std::size_t n, std::size_t start = 1) {
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(i + start);
  return v;
}

struct Exporter {
  testing::TempDir dir;
  settings::LoggerSettings settings;
  Exporter() { settings.FahrenheitUnits = 0; }

  std::vector<std::string> run(const std::filesystem::path& source, std::string_view outName,
                               const ExportOptions& options) {
    const auto done = program::exportDataFile(source, dir / outName, options, settings, dir.path());
    EXPECT_TRUE(done.ok()) << (done.ok() ? "" : done.error().message);
    return linesOf(dir.read(outName));
  }
};

TEST(Export, AveragesOfTenOverTwentyFiveSamples) {
  Exporter e;
  const auto src = e.dir.write("a.QX1", fixtures::buildFile(linearHeader(1, 'G', 25), {ramp(25)}));
  ExportOptions o;
  o.averaging = 10;
  o.noHeader = true;
  const auto rows = e.run(src, "a.csv", o);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], "06/03/2003,09:14:00,5.500");   // samples 1-10, stamped at the tenth
  EXPECT_EQ(rows[1], "06/03/2003,09:24:00,15.500");
  // Samples 21-25 and five copies of sample 25: (115 + 125) / 10.
  EXPECT_EQ(rows[2], "06/03/2003,09:34:00,24.000");
}

TEST(Export, HeaderLinesOfACsvExport) {
  Exporter e;
  auto h = linearHeader(2, 'G', 3);
  h.session = "Well4;siteB";
  h.descriptions = {"Air;Deg Q", "Water", "", "Probe"};
  const auto src = e.dir.write("h.QX1", fixtures::buildFile(h, {interleave({ramp(3), ramp(3, 10)})}));
  ExportOptions o;
  o.note = "pump test";
  o.averaging = kOneAverage;
  const auto lines = e.run(src, "h.csv", o);
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines[0], " pump test");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], " Source File: " + src.string());
  EXPECT_EQ(lines[3], " ID: Well4;siteB" + std::string(20 + 2, ' ') + "KALDO     8 bit");
  EXPECT_EQ(lines[4], " Ch1 lbl/scl: Air;Deg Q" + std::string(15, ' ') + "/     0    255");
  EXPECT_EQ(lines[6], " Ch3 lbl/scl: " + std::string(24, ' ') + "/     0    255");
  EXPECT_EQ(lines[8], " Rate (mins):  1.0000000000000" + std::string(8, ' ') + "Bat: 3.6");
  EXPECT_EQ(lines[9], " First:       Tue  3-Jun-2003  9:05:00");
  EXPECT_EQ(lines[10], " Last:        Wed  4-Jun-2003 10:00:00");
  EXPECT_EQ(lines[11], " Transferred: Wed  4-Jun-2003 10:01:02");
  EXPECT_EQ(lines[12], " Eq. PC time: Wed  4-Jun-2003 10:01:05");
  EXPECT_EQ(lines[13], "");
  EXPECT_EQ(lines[14], " Note: Average for the above period (3 consecutive samples).");
  EXPECT_EQ(lines[15], "");
  EXPECT_EQ(lines[16], "Date,Time,Ch1:Deg Q,Ch2:");
  EXPECT_EQ(lines[17], "06/03/2003,09:07:00,2.000,11.000");
}

TEST(Export, TextFormLayoutOfOneChannel) {
  Exporter e;
  const auto src = e.dir.write("t.QX1", fixtures::buildFile(linearHeader(1, 'G', 2), {ramp(2)}));
  ExportOptions o;
  o.csv = false;
  o.averaging = 0;  // read as every point
  const auto lines = e.run(src, "t.txt", o);
  ASSERT_EQ(lines.size(), 19u);
  EXPECT_EQ(lines[0], "\"");
  EXPECT_EQ(lines[8].substr(0, 14), "\"Rate (mins): ");
  EXPECT_EQ(lines[14], "\"");
  EXPECT_EQ(lines[16], "Date,Time,Ch1:");
  EXPECT_EQ(lines[17], "06/03/2003 09:05:00    1.000");
  EXPECT_EQ(lines[18], "06/03/2003 09:06:00    2.000");
}

TEST(Export, NoHeaderOnlyForCsvAndTxtNames) {
  Exporter e;
  const auto src = e.dir.write("n.QX1", fixtures::buildFile(linearHeader(1, 'G', 2), {ramp(2)}));
  ExportOptions o;
  o.noHeader = true;
  EXPECT_EQ(e.run(src, "n.dat", o).size(), 19u);
  EXPECT_EQ(e.run(src, "n.CSV", o).size(), 2u);
  EXPECT_EQ(e.run(src, "n.Txt", o).size(), 2u);
}

TEST(Export, MillisecondsAndDayFirstStamps) {
  Exporter e;
  auto h = linearHeader(1, 'V', 3);
  h.last = "Tue  3-Jun-2003  9:05:12";  // too short a span to measure the rate by
  const auto src = e.dir.write("m.QX1", fixtures::buildFile(h, {ramp(3)}));
  ExportOptions o;
  o.dayFirst = true;
  const auto lines = e.run(src, "m.csv", o);
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[16], "Date,Time,millisecs,Ch1:");
  EXPECT_EQ(lines[17], "03/06/2003,09:05:00,000,1.000");
  EXPECT_EQ(lines[18], "03/06/2003,09:05:06,000,2.000");
  ExportOptions text;
  text.csv = false;
  text.noHeader = true;
  EXPECT_EQ(e.run(src, "m.txt", text)[2], "06/03/2003 09:05:12 000    3.000");
}

TEST(Export, FahrenheitFollowsTheSettingForTemperaturesOnly) {
  Exporter e;
  e.settings.FahrenheitUnits = 0;
  auto h = linearHeader(2, 'G', 3);
  h.typeCodes = {'C', '3', '0', '0'};
  h.scalingTexts = {"C", "     0   255", "", ""};
  const auto src = e.dir.write("f.QX1", fixtures::buildFile(h, {interleave({{60, 120, 180}, {1, 2, 3}})}));
  std::filesystem::copy_file(testing::dataDir() / "C.Rvt", e.dir / "C.Rvt");
  ExportOptions o;
  o.noHeader = true;
  const auto celsius = e.run(src, "c.csv", o);
  e.settings.FahrenheitUnits = 1;
  const auto fahrenheit = e.run(src, "f.csv", o);
  ASSERT_EQ(celsius.size(), 3u);
  ASSERT_EQ(fahrenheit.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const double c = std::stod(celsius[i].substr(20));
    const double f = std::stod(fahrenheit[i].substr(20));
    EXPECT_NEAR(f, c * 9.0 / 5.0 + 32.0, 0.002);
    // The linear channel keeps its value.
    EXPECT_EQ(celsius[i].substr(celsius[i].rfind(',')), fahrenheit[i].substr(fahrenheit[i].rfind(',')));
  }
  const auto header = e.run(src, "f.dat", o);
  EXPECT_EQ(header[16], "Date,Time,Ch1:Deg F,Ch2:");
}

TEST(Export, EachHumidityMode) {
  Exporter e;
  auto h = linearHeader(3, 'G', 2);
  h.typeCodes = {'3', '0', '3', '0'};
  h.channelBits = 0x05;  // channels 1 and 3
  h.scalingTexts = {"     0   255", "", "     0   255", ""};
  h.inputModes = 0x0041;  // Temp/RH on channels 1 and 3
  h.descriptions = {"Temp;Deg C", "", "Moisture", ""};
  h.memoryPointer = 512 + 4;
  const auto src = e.dir.write("rh.QX1", fixtures::buildFile(h, {interleave({{20, 25}, {50, 60}})}));
  ExportOptions o;
  std::array<std::vector<std::string>, 3> out;
  const std::array<const char*, 3> units{"% RH", "Dew P", "Wet B"};
  for (std::uint8_t mode = 0; mode < 3; ++mode) {
    e.settings.HumidityMode = mode;
    out[mode] = e.run(src, "rh" + std::to_string(mode) + ".dat", o);
    ASSERT_EQ(out[mode].size(), 19u);
    EXPECT_EQ(out[mode][16], std::string("Date,Time,Ch1:Deg C,Ch3:") + units[mode]);
  }
  for (std::size_t row = 17; row < 19; ++row) {
    const double t = std::stod(out[0][row].substr(20));
    const double rh = std::stod(out[0][row].substr(out[0][row].rfind(',') + 1));
    const double dew = std::stod(out[1][row].substr(out[1][row].rfind(',') + 1));
    const double wet = std::stod(out[2][row].substr(out[2][row].rfind(',') + 1));
    EXPECT_GT(rh, 0.0);
    EXPECT_LE(rh, 100.0);
    EXPECT_LT(dew, t);        // below saturation the dew point lies under the temperature
    EXPECT_GT(wet, dew);      // and the wet bulb between the two
    EXPECT_LT(wet, t);
  }
}

TEST(Export, ZoomedSpanUsesItsRangeAndTheSamplesAfterIt) {
  testing::TempDir dir;
  std::vector<std::uint16_t> s(30);
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<std::uint16_t>(i + 1);
  datafile::LoadedFile f = fixtures::linearState({s});
  f.fileName = dir / "z.QX1";
  f.zoomed = true;
  f.rangeStart = 10;
  f.samplesInRange = 5;
  f.rangeFirst = "Tue  3-Jun-2003  9:15:00";
  f.rangeLast = "Tue  3-Jun-2003  9:19:00";
  ExportOptions o;
  o.averaging = 3;
  ASSERT_TRUE(exportLoadedFile(f, dir / "z.dat", o, dir.path()).ok());
  const auto lines = linesOf(dir.read("z.dat"));
  ASSERT_EQ(lines.size(), 19u);
  EXPECT_EQ(lines[9], " First:       Tue  3-Jun-2003  9:15:00");
  EXPECT_EQ(lines[10], " Last:        Tue  3-Jun-2003  9:19:00");
  EXPECT_EQ(lines[17], "06/03/2003,09:17:00,12.000");  // samples 11-13
  EXPECT_EQ(lines[18], "06/03/2003,09:20:00,15.000");  // 14, 15 and the 16th that follows the span
}

TEST(Export, TableSourceIsCopiedOrReaveraged) {
  testing::TempDir dir;
  const std::string rows =
      "06/03/2003,09:05:00,1.000,10.000\r\n06/03/2003,09:06:00,2.000,20.000\r\n"
      "06/03/2003,09:07:00,4.000,40.000\r\n";
  const auto table = dir.write("s.QX2", std::string(17, '\n') + rows);
  datafile::LoadedFile f;
  f.fileName = table;
  f.tableForm = true;
  f.channels = {1, 2};
  f.samplesInRange = 3;
  ExportOptions o;
  o.noHeader = true;
  o.csv = false;
  ASSERT_TRUE(exportLoadedFile(f, dir / "copy.txt", o, dir.path()).ok());
  EXPECT_EQ(linesOf(dir.read("copy.txt"))[1], "06/03/2003 09:06:00 2.000 20.000");
  o.averaging = 2;
  ASSERT_TRUE(exportLoadedFile(f, dir / "avg.txt", o, dir.path()).ok());
  EXPECT_EQ(linesOf(dir.read("avg.txt")),
            (std::vector<std::string>{"06/03/2003 09:06:00 1.500 15.000", "06/03/2003 09:07:00 4.000 40.000"}));
  o.csv = true;
  o.averaging = kOneAverage;
  ASSERT_TRUE(exportLoadedFile(f, dir / "one.csv", o, dir.path()).ok());
  EXPECT_EQ(linesOf(dir.read("one.csv")), (std::vector<std::string>{"06/03/2003,09:07:00,2.333,23.333"}));
  // A zoomed table exports the rows of its range only.
  f.zoomed = true;
  f.rangeStart = 1;
  f.samplesInRange = 1;
  o.averaging = kEveryPoint;
  ASSERT_TRUE(exportLoadedFile(f, dir / "zoom.csv", o, dir.path()).ok());
  EXPECT_EQ(linesOf(dir.read("zoom.csv")), (std::vector<std::string>{"06/03/2003,09:06:00,2.000,20.000"}));
}

TEST(Export, TableSourceErrors) {
  testing::TempDir dir;
  datafile::LoadedFile f;
  f.tableForm = true;
  f.channels = {1};
  f.fileName = dir / "plain.txt";
  auto r = exportLoadedFile(f, dir / "o.csv", ExportOptions{}, dir.path());
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().message, f.fileName.string() + " is not a QX2 type file");
  f.fileName = dir / "gone.QX2";
  r = exportLoadedFile(f, dir / "o.csv", ExportOptions{}, dir.path());
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().message, "File: " + f.fileName.string() + " not found");
  EXPECT_FALSE(std::filesystem::exists(dir / "o.csv"));
}

TEST(Export, UnwritableTargetLeavesNothingAndSourceUntouched) {
  Exporter e;
  const std::string content = fixtures::buildFile(linearHeader(1, 'G', 5), {ramp(5)});
  const auto src = e.dir.write("u.QX1", content);
  const auto missingDir = program::exportDataFile(src, e.dir / "no-such-dir" / "u.csv", ExportOptions{}, e.settings,
                                         e.dir.path());
  ASSERT_FALSE(missingDir.ok());
  EXPECT_NE(missingDir.error().message.find("no-such-dir"), std::string::npos);
  const auto onSource = program::exportDataFile(src, src, ExportOptions{}, e.settings, e.dir.path());
  ASSERT_FALSE(onSource.ok());
  EXPECT_EQ(e.dir.read("u.QX1"), content);
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(e.dir.path())) ++entries;
  EXPECT_EQ(entries, 1u);  // no temporary or partial file left behind
}

TEST(Export, AutomaticExportFollowsTheSettings) {
  Exporter e;
  const auto src = e.dir.write("auto.QX1", fixtures::buildFile(linearHeader(1, 'G', 4), {ramp(4)}));
  e.settings.AutoExport = 0;
  ASSERT_TRUE(program::exportAfterDownload(src, e.dir / "auto.CSV", e.settings, e.dir.path()).ok());
  EXPECT_FALSE(std::filesystem::exists(e.dir / "auto.CSV"));
  e.settings.AutoExport = 1;
  e.settings.ExportAveraging = 2;
  e.settings.ExportNoHeader = 1;
  ASSERT_TRUE(program::exportAfterDownload(src, e.dir / "auto.CSV", e.settings, e.dir.path()).ok());
  EXPECT_EQ(linesOf(e.dir.read("auto.CSV")),
            (std::vector<std::string>{"06/03/2003,09:06:00,1.500", "06/03/2003,09:08:00,3.500"}));
}

TEST(ExportHeader, RateAlwaysHasADecimalPointAndNotesNameTheirCounts) {
  EXPECT_EQ(formatRate(0.0766666666666667), " 0.0766666666667");
  EXPECT_EQ(averagingNote(1, 50, false), "");
  EXPECT_EQ(averagingNote(0, 50, false), "");
  EXPECT_EQ(averagingNote(kOneAverage, 50, true), "Note: Average for the above period.");
  EXPECT_EQ(averagingNote(12, 50, false), "Note: Each reading is the average of 12 consecutive samples.");
}

}  // namespace
}  // namespace brevik::exporting
