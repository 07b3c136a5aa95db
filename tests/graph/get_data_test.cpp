// GetData: loading image-form files and tables, the time base, the table
// copy of multi-bank files, zoom and undo.

#include <gtest/gtest.h>

#include <memory>

#include "graph/get_data.h"
#include "support/loaded_file_fixtures.h"
#include "datafile/qx2_table.h"
#include "support/temp_dir.h"

namespace brevik::graph {
namespace {

using fixtures::interleave;
using fixtures::linearHeader;

struct Loader {
  testing::TempDir dir;
  settings::LoggerSettings settings;
  LoadEnvironment env;
  std::unique_ptr<datafile::LoadedFile> file = std::make_unique<datafile::LoadedFile>();
  std::unique_ptr<datafile::DisplaySeries> series = std::make_unique<datafile::DisplaySeries>();

  Loader() {
    settings.FahrenheitUnits = 0;
    env.home = dir.path();
    env.settings = &settings;
  }
  Result<LoadNotices> load(const std::filesystem::path& p) { return getData(*file, *series, p, env); }
};

std::vector<std::uint8_t> counts(std::size_t n, std::size_t offset = 0) {
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>((i + offset) % 256);
  return v;
}

TEST(GetData, RecomputesAnApproximateRateFromTheClock) {
  Loader l;
  auto h = linearHeader(1, 'T', 2000);  // about 4 seconds
  h.last = "Tue  3-Jun-2003 10:45:00";     // 100 minutes after First
  const auto p = l.dir.write("fast.QX1", fixtures::buildFile(h, {counts(2000)}));
  ASSERT_TRUE(l.load(p).ok());
  EXPECT_DOUBLE_EQ(l.file->rate, 100.0 / 2000.0);
  EXPECT_EQ(l.file->samplesInRange, 2000u);
  EXPECT_FALSE(l.file->tableForm);
}

TEST(GetData, CorrectsTheRateOfAWrappedNewerLogger) {
  Loader l;
  auto h = linearHeader(1, 'T', 0);
  h.statusFlags = datafile::kFileFlagWrapped;
  h.memoryPointer = 600;
  h.last = "Tue  3-Jun-2003 10:45:00";
  const auto p = l.dir.write("wrap.QX1", fixtures::buildFile(h, {counts(memory::kBankBytes)}, false));
  ASSERT_TRUE(l.load(p).ok());
  EXPECT_NEAR(l.file->rate, 0.0766666666, 1e-9);
  EXPECT_EQ(l.file->samplesInRange, static_cast<std::size_t>(memory::kBankBytes));
}

TEST(GetData, SingleSampleFileShowsTwoEqualPoints) {
  Loader l;
  const auto p = l.dir.write("one.QX1", fixtures::buildFile(linearHeader(2, 'G', 1), {{17, 99}}));
  ASSERT_TRUE(l.load(p).ok());
  ASSERT_EQ(l.series->points, 2u);
  EXPECT_FLOAT_EQ(l.series->value(0, 1), 17.0f);
  EXPECT_FLOAT_EQ(l.series->value(1, 0), 99.0f);
}

TEST(GetData, FailureKeepsThePreviousFile) {
  Loader l;
  const auto good = l.dir.write("good.QX1", fixtures::buildFile(linearHeader(1, 'G', 10), {counts(10)}));
  ASSERT_TRUE(l.load(good).ok());
  const auto missing = l.load(l.dir / "absent.QX1");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().message, "File: " + (l.dir / "absent.QX1").string() + " not found");
  EXPECT_EQ(l.file->fileName, good);
  EXPECT_EQ(l.series->points, 10u);
}

TEST(GetData, MissingTableOfAnActiveChannelStopsTheLoad) {
  Loader l;
  auto h = linearHeader(1, 'G', 10);
  h.typeCodes[0] = 'C';  // needs C.Rvt, which this home lacks
  const auto p = l.dir.write("therm.QX1", fixtures::buildFile(h, {counts(10)}));
  EXPECT_FALSE(l.load(p).ok());
}

TEST(GetData, FourBankFileRoundTripsThroughItsTable) {
  Loader l;
  constexpr std::size_t kFull = memory::kBankBytes / 4;  // 8,064 per channel
  constexpr std::size_t kLastBank = 500;
  auto h = linearHeader(4, 'G', kLastBank);
  h.modelCode = '6';  // only this model names a last bank
  h.lastBank = 'D';
  std::vector<std::vector<std::uint8_t>> sections;
  for (std::size_t b = 0; b < 4; ++b) {
    const std::size_t n = b < 3 ? kFull : kLastBank;
    sections.push_back(interleave({counts(n, b), counts(n, b + 1), counts(n, b + 2), counts(n, b + 3)}));
  }
  const auto p = l.dir.write("banks.QX1", fixtures::buildFile(h, sections));
  ASSERT_TRUE(l.load(p).ok());
  EXPECT_TRUE(l.file->tableForm);
  EXPECT_EQ(l.file->fileName, tableCopyName(p));
  EXPECT_EQ(l.file->sourceFileName, p);
  EXPECT_EQ(l.file->channels, (std::vector<int>{1, 2, 3, 4}));

  const std::string table = l.dir.read("banks.QX2");
  datafile::LineCursor cursor(table);
  std::string_view line;
  std::vector<std::string> lines;
  while (cursor.next(line)) lines.emplace_back(line);
  ASSERT_EQ(lines.size(), datafile::kTableHeadingLines + 3 * kFull + kLastBank);
  EXPECT_EQ(lines[2].substr(0, 14), "\"Source File: ");
  // Rows run on across banks: the first row of bank B is the 8,065th sample.
  std::array<float, 4> v{};
  ASSERT_EQ(datafile::parseTableRow(lines[datafile::kTableHeadingLines + kFull], false, v), 4u);
  EXPECT_FLOAT_EQ(v[0], static_cast<float>((0 + 1) % 256));
  EXPECT_FLOAT_EQ(v[3], static_cast<float>((0 + 4) % 256));
  EXPECT_EQ(lines[datafile::kTableHeadingLines + kFull].substr(0, 19), "06/08/2003,23:29:00");  // 8,064 minutes on
  // The table is read back at 2,048 points at most.
  EXPECT_LE(l.series->points, datafile::kMaxPointsPerChannel);
  EXPECT_EQ(l.series->factor, datafile::decimationFactor(static_cast<std::size_t>(l.file->rowsExpected)));
  EXPECT_FLOAT_EQ(l.series->largest[0], 255.0f);
  EXPECT_FLOAT_EQ(l.series->smallest[0], 0.0f);
}

TEST(GetData, DegFTableTurnsFahrenheitOn) {
  Loader l;
  const std::string table =
      "\"\r\n\r\n\"Source File: x.QX1\r\n\"ID: Site                             KALDO\r\n"
      "\"Ch1 lbl/scl: Air                     /     0    255\r\n\"Ch2 lbl/scl: \r\n\"Ch3 lbl/scl: \r\n"
      "\"Ch4 lbl/scl: \r\n\"Rate (mins):  1.0000000000000        \r\n\"First:       Tue  3-Jun-2003  9:05:00\r\n"
      "\"Last:        Tue  3-Jun-2003  9:07:00\r\n\"Transferred: \r\n\"Eq. PC time: \r\n\r\n\"\r\n\r\n"
      "Date,Time,Ch1:Deg F,Ch3:% RH\r\n06/03/2003,09:05:00,70.000,50.000\r\n"
      "06/03/2003,09:06:00,71.000,52.500\r\n06/03/2003,09:07:00,72.000,55.000\r\n";
  const auto p = l.dir.write("units.QX2", table);
  ASSERT_EQ(l.settings.FahrenheitUnits, 0);
  ASSERT_TRUE(l.load(p).ok());
  EXPECT_EQ(l.settings.FahrenheitUnits, 1);
  EXPECT_EQ(l.settings.HumidityMode, 0);
  EXPECT_TRUE(l.file->temperatureUnitsFixed);
  EXPECT_EQ(l.file->channels, (std::vector<int>{1, 3}));
  EXPECT_EQ(l.file->unitTexts[2], "% RH");
  ASSERT_EQ(l.series->points, 3u);
  EXPECT_FLOAT_EQ(l.series->value(0, 2), 72.0f);
  EXPECT_FLOAT_EQ(l.series->value(1, 1), 52.5f);
}

TEST(GetData, TableWithoutSourceLineIsRefused) {
  Loader l;
  const auto p = l.dir.write("bad.QX2", "\"\r\n\r\n\"Something\r\n");
  const auto r = l.load(p);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().message, datafile::kIncompatibleTableMessage);
}

TEST(GetData, TableWithMoreRowsThanPromisedIsCutWithAMessage) {
  Loader l;
  std::string table =
      "\"\r\n\r\n\"Source File: x.QX1\r\n\"ID: \r\n\"\r\n\"\r\n\"\r\n\"\r\n\"Rate (mins):  1.0000000000000\r\n"
      "\"First:       Tue  3-Jun-2003  9:05:00\r\n\"Last:        Tue  3-Jun-2003  9:15:00\r\n\"\r\n\"\r\n\r\n\"\r\n\r\n"
      "Date,Time,Ch1:\r\n";
  for (int i = 0; i < 3000; ++i) table += "06/03/2003,09:05:00," + std::to_string(i % 100) + ".000\r\n";
  const auto p = l.dir.write("long.QX2", table);
  const auto r = l.load(p);
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r->size(), 1u);
  EXPECT_EQ((*r)[0], datafile::tableOverflowMessage(p.string()));
  EXPECT_EQ(l.series->points, datafile::kMaxPointsPerChannel);
}

TEST(GetData, ZoomAndUndo) {
  Loader l;
  std::vector<std::uint8_t> s(5000);
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<std::uint8_t>(i % 200);
  auto h = linearHeader(1, 'G', s.size());
  const auto p = l.dir.write("zoom.QX1", fixtures::buildFile(h, {s}));
  ASSERT_TRUE(l.load(p).ok());
  ASSERT_EQ(l.series->factor, 3u);

  // 100 minutes from 9:05 + 1,000 minutes.
  const DateTime from{2003, 6, 4, 1, 45, 0, 0, 3};
  const DateTime to{2003, 6, 4, 3, 25, 0, 0, 3};
  const auto z = zoomIn(*l.file, *l.series, from, to, false);
  ASSERT_TRUE(z.ok());
  ASSERT_TRUE(z->applied);
  EXPECT_TRUE(l.file->zoomed);
  EXPECT_EQ(l.file->rangeStart, 1000u);
  EXPECT_EQ(l.file->samplesInRange, 101u);
  EXPECT_EQ(l.file->rangeFirst, "Wed  4-Jun-2003  1:45:00");
  EXPECT_EQ(l.file->rangeLast, "Wed  4-Jun-2003  3:25:00");
  EXPECT_EQ(l.series->factor, 1u);
  EXPECT_FLOAT_EQ(l.series->value(0, 0), static_cast<float>(1000 % 200));

  const DateTime nearly{2003, 6, 4, 1, 46, 0, 0, 3};
  const auto tight = zoomIn(*l.file, *l.series, from, nearly, false);
  ASSERT_TRUE(tight.ok());
  EXPECT_FALSE(tight->applied);
  EXPECT_EQ(tight->message, "Maximum Zoom");
  EXPECT_EQ(l.file->rangeStart, 1000u);

  ASSERT_TRUE(undoZoom(*l.file, *l.series).ok());
  EXPECT_FALSE(l.file->zoomed);
  EXPECT_EQ(l.file->samplesInRange, 5000u);
  EXPECT_EQ(l.series->factor, 3u);
}

TEST(GetData, ZoomIntoATableReadsItsRowsOnly) {
  Loader l;
  // 3,000 rows a minute apart: 9:05 on 3 June to 11:04 on 5 June.
  std::string table =
      "\"\r\n\r\n\"Source File: x.QX1\r\n\"ID: \r\n\"\r\n\"\r\n\"\r\n\"\r\n\"Rate (mins):  1.0000000000000\r\n"
      "\"First:       Tue  3-Jun-2003  9:05:00\r\n\"Last:        Thu  5-Jun-2003 11:04:00\r\n\"\r\n\"\r\n\r\n\"\r\n\r\n"
      "Date,Time,Ch1:\r\n";
  for (int i = 0; i < 3000; ++i) table += "06/03/2003,09:05:00," + std::to_string(i) + ".000\r\n";
  const auto p = l.dir.write("rows.QX2", table);
  ASSERT_TRUE(l.load(p).ok());
  EXPECT_EQ(l.file->rowsExpected, 3119);  // 2,999 minutes x 1.04
  EXPECT_EQ(l.series->factor, 2u);

  const DateTime from{2003, 6, 3, 10, 45, 0, 0, 2};  // row 100
  const DateTime to{2003, 6, 3, 12, 24, 0, 0, 2};    // row 199
  const auto z = zoomIn(*l.file, *l.series, from, to, false);
  ASSERT_TRUE(z.ok());
  ASSERT_TRUE(z->applied) << z->message;
  EXPECT_FALSE(l.file->endNotClipped);
  EXPECT_EQ(l.file->rangeStart, 100u);
  EXPECT_EQ(l.file->samplesInRange, 100u);
  ASSERT_EQ(l.series->points, 100u);
  EXPECT_FLOAT_EQ(l.series->value(0, 0), 100.0f);
  EXPECT_FLOAT_EQ(l.series->value(0, 99), 199.0f);

  ASSERT_TRUE(undoZoom(*l.file, *l.series).ok());
  EXPECT_FALSE(l.file->zoomed);
  EXPECT_TRUE(l.file->endNotClipped);
  EXPECT_EQ(l.series->factor, 2u);
  EXPECT_FLOAT_EQ(l.series->value(0, 0), 0.0f);
}

}  // namespace
}  // namespace brevik::graph
