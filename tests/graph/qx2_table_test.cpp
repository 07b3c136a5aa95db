// The .QX2 heading and row readers, and their behaviour on damaged input.

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "datafile/display_series.h"
#include "datafile/loaded_file.h"
#include "datafile/qx2_table.h"
#include "graph/table_reading.h"

namespace brevik::graph {
namespace {

const std::string kHeading =
    "\"note\r\n\r\n\"Source File: site.QX1\r\n\"ID: Well4;siteB                      KALDO\r\n"
    "\"Ch1 lbl/scl: Air                     /     0    255\r\n\"Ch2 lbl/scl: Water\r\n\"Ch3 lbl/scl: \r\n"
    "\"Ch4 lbl/scl: \r\n\"Rate (mins):  0.1000000000000        Bat: 3.6\r\n"
    "\"First:       Tue  3-Jun-2003  9:05:00\r\n\"Last:        Tue  3-Jun-2003  9:05:12\r\n"
    "\"Transferred: \r\n\"Eq. PC time: \r\n\r\n\"\r\n\r\n"
    "Date,Time,millisecs,Ch1:Deg C,Ch2:Wet B,Ch4:kPa\r\n";

std::vector<std::string_view> headingLines(const std::string& text) {
  std::vector<std::string_view> lines;
  datafile::LineCursor c(text);
  std::string_view l;
  while (c.next(l)) lines.push_back(l);
  return lines;
}

TEST(TableHeading, ReadsItsFieldsByPosition) {
  const auto h = datafile::parseTableHeading(headingLines(kHeading));
  ASSERT_TRUE(h.ok()) << h.error().message;
  EXPECT_EQ(h->session, "Well4;siteB                    ");
  EXPECT_EQ(h->descriptions[1], "Water                   ");
  EXPECT_DOUBLE_EQ(h->rate, 0.1);
  EXPECT_TRUE(h->milliseconds);
  EXPECT_EQ(h->first, "Tue  3-Jun-2003  9:05:00");
  EXPECT_EQ(h->channels, (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(h->unitTexts[1], "Wet B");
  EXPECT_EQ(h->unitTexts[3], "kPa");
  EXPECT_EQ(h->fahrenheit, false);
  EXPECT_EQ(h->humidityMode, protocol::HumidityMode::WetBulb);
}

TEST(TableHeading, RefusesABadRate) {
  std::string text = kHeading;
  text.replace(text.find(" 0.1000000000000"), 16, "  fast          ");
  const auto lines = headingLines(text);
  const auto h = datafile::parseTableHeading(lines);
  ASSERT_FALSE(h.ok());
  EXPECT_EQ(h.error().message, "Sample Rate field is invalid: " + std::string(lines[8]) + " - click Help for details");
  EXPECT_EQ(lines[8].substr(0, 20), "\"Rate (mins):   fast");
}

TEST(TableRow, ReadsValuesAfterTheStamp) {
  std::array<float, 4> v{};
  EXPECT_EQ(datafile::parseTableRow("06/03/2003,09:05:00,1.5,-2.250,   3.000", false, v), 3u);
  EXPECT_FLOAT_EQ(v[1], -2.25f);
  EXPECT_EQ(datafile::parseTableRow("06/03/2003,09:05:00,120,7.000", true, std::span(v).first(1)), 1u);
  EXPECT_FLOAT_EQ(v[0], 7.0f);
  EXPECT_EQ(datafile::parseTableRow("06/03/2003 09:05:00    1.000    2.000", false, v), 2u);  // text form
  EXPECT_EQ(datafile::parseTableRow("06/03/2003,09:05:00,abc", false, v), 0u);
  EXPECT_EQ(datafile::parseTableRow("", false, v), 0u);
  EXPECT_EQ(datafile::parseTableRow("06/03/2003,09:05:00,nan", false, v), 0u);
  EXPECT_EQ(datafile::parseTableRow("06/03/2003,09:05:00,1e60", false, v), 0u);
  EXPECT_EQ(datafile::parseTableRow("Date,Time,Ch1:", false, v), 0u);
}

TEST(TableRead, TakesMinimumAndMaximumInRowOrder) {
  std::string text = kHeading;
  // 12 seconds at 0.1 minutes with k = 1.35 promise round(0.2 * 1.35 / 0.1) = 3 rows: F = 1.
  text += "06/03/2003,09:05:00,000,1,2,3\r\n06/03/2003,09:05:06,000,4,5,6\r\n";
  auto file = std::make_unique<datafile::LoadedFile>();
  auto series = std::make_unique<datafile::DisplaySeries>();
  file->fileName = "t.QX2";
  const auto r = readTable(*file, *series, text);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(file->rowsExpected, 3);
  ASSERT_EQ(series->points, 2u);
  EXPECT_FLOAT_EQ(series->value(2, 1), 6.0f);
  EXPECT_EQ(series->largestIndex[0], 1u);
}

TEST(TableRead, DamagedInputNeverCrashes) {
  std::mt19937 rng(7);
  const std::string valid = kHeading + "06/03/2003,09:05:00,000,1,2,3\r\n";
  for (int round = 0; round < 400; ++round) {
    std::string text = valid.substr(0, rng() % (valid.size() + 1));
    const int flips = static_cast<int>(rng() % 6);
    for (int i = 0; i < flips && !text.empty(); ++i) text[rng() % text.size()] = static_cast<char>(rng());
    auto file = std::make_unique<datafile::LoadedFile>();
    auto series = std::make_unique<datafile::DisplaySeries>();
    const auto r = readTable(*file, *series, text);
    if (r.ok()) {
      EXPECT_LE(series->points, datafile::kMaxPointsPerChannel);
    }
  }
}

}  // namespace
}  // namespace brevik::graph
