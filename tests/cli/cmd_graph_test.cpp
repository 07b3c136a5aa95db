// kaldo graph: what the chart of a data file shows (--describe), the image
// written from it, and the command lines and files it refuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#ifdef BREVIK_HAVE_QT_PLATFORM
#include <QColor>
#include <QImage>
#include <QString>
#endif

#include "cli/kaldo_run.h"
#include "support/loaded_file_fixtures.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using kaldo_test::lines;
using kaldo_test::runKaldoCommand;

constexpr std::size_t kSamples = 100;  // one a minute from 9:05

// An 8-bit file of the given type codes and descriptions (thermistors
// converted through the shipped C table).
std::filesystem::path writeFile(const brevik::testing::TempDir& dir, const std::string& types,
                                const std::vector<std::string>& descriptions) {
  auto h = fixtures::linearHeader(static_cast<int>(types.size()), 'G', kSamples);
  std::vector<std::vector<std::uint8_t>> counts;
  for (std::size_t k = 0; k < types.size(); ++k) {
    h.typeCodes[k] = types[k];
    if (types[k] != '3') h.scalingTexts[k] = "C";
    h.descriptions[k] = descriptions[k];
    std::vector<std::uint8_t> channel(kSamples);
    for (std::size_t i = 0; i < kSamples; ++i) channel[i] = static_cast<std::uint8_t>(60 + 20 * k + i % 50);
    counts.push_back(channel);
  }
  return dir.write("site.QX1", fixtures::buildFile(h, {fixtures::interleave(counts)}));
}

TEST(GraphCommand, DescribesTheLayoutLegendsScalesAndZoomOfTheChart) {
  struct Case {
    const char* name;
    std::string types;
    std::vector<std::string> descriptions;
    std::vector<std::string> extra;
    std::vector<std::string> expected;  // lines that must be among the output
  };
  const Case cases[] = {
      {"three thermistors share one viewport",
       "ABP",
       {"Air", "Brine", "Probe"},
       {},
       {"Viewports: 1", "Layout: 3", "Viewport 1 channels: 1,2,3", "Viewport 1 axis label: Deg F",
        "Subset 2 legend: Brine", "Subset 3 colour slot: 3", "Points: 100"}},
      {"a linear channel gives each channel its viewport",
       "ABP3",
       {"Air", "Brine", "Probe", "Level;m"},
       {},
       {"Viewports: 4", "Layout: 1,1,1,1", "Viewport 4 channels: 4", "Viewport 4 axis label: m",
        "Subset 4 legend: Level"}},
      {"a description names legend, unit and fixed scale",
       "3",
       {"Boiler~0,250;Deg F"},
       {},
       {"Viewports: 1", "Subset 1 legend: Boiler", "Viewport 1 axis label: Deg F", "Viewport 1 scale: 0,250"}},
      {"a zoomed range",
       "3",
       {"Tank"},
       {"--from", "Tue  3-Jun-2003  9:20:00", "--to", "Tue  3-Jun-2003  9:50:00"},
       {"Points: 31", "X range: Tue  3-Jun-2003  9:20:00am to Tue  3-Jun-2003  9:50:00am"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    brevik::testing::TempDir home;
    std::vector<std::string> args{writeFile(home, c.types, c.descriptions).string(), "--describe"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const auto run = runKaldoCommand(home, "graph", args);
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const auto shown = lines(run.out);
    for (const std::string& line : c.expected)
      EXPECT_NE(std::find(shown.begin(), shown.end(), line), shown.end()) << line << "\n" << run.out;
  }
}

// The width and height a PNG file's header gives, or 0 x 0.
[[maybe_unused]] std::pair<unsigned, unsigned> pngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
  const auto at = [&bytes](std::size_t i) {
    unsigned v = 0;
    for (std::size_t k = 0; k < 4; ++k) v = v << 8 | static_cast<unsigned char>(bytes[i + k]);
    return v;
  };
  return {at(16), at(20)};
}

TEST(GraphCommand, WritesAPngOfTheAskedSizeInTheHomesColours) {
  brevik::testing::TempDir home;
  const auto file = writeFile(home, "ABP3", {"Air", "Brine", "Probe", "Level;m"});
  const auto run = runKaldoCommand(home, "graph", {file.string(), "--png", (home / "chart.png").string(), "--size", "640x480"});
#ifdef BREVIK_HAVE_QT_PLATFORM
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(pngSize(home.read("chart.png")), (std::pair<unsigned, unsigned>{640, 480}));
  const auto standard = runKaldoCommand(home, "graph", {file.string(), "--png", (home / "default.png").string()});
  ASSERT_EQ(standard.status, kExitOk) << standard.err;
  EXPECT_EQ(pngSize(home.read("default.png")), (std::pair<unsigned, unsigned>{958, 678}));

  // The home's colour file paints the desk (slot 8, olive here); an
  // unreadable one gives the factory white and is left as it was.
  const auto deskOf = [&](const char* colorFile) {
    EXPECT_EQ(runKaldoCommand(home, "settings", {std::string("ColorFileName=") + colorFile}).status, kExitOk);
    EXPECT_EQ(runKaldoCommand(home, "graph", {file.string(), "--png", (home / "c.png").string()}).status, kExitOk);
    return QImage(QString::fromStdString((home / "c.png").string())).pixelColor(1, 1);
  };
  home.write("mine.gcf", "10\r\n6\r\n4\r\n7\r\n16\r\n10\r\n1\r\n13\r\n");
  home.write("bad.gcf", "ten\r\n");
  EXPECT_EQ(deskOf("mine.gcf"), QColor(128, 128, 0));
  EXPECT_EQ(deskOf("C:\\LOGGER\\bad.gcf"), QColor(255, 255, 255));
  EXPECT_EQ(home.read("bad.gcf"), "ten\r\n");
#else
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find("not available in this build"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(home / "chart.png"));
#endif
}

TEST(GraphCommand, RefusesBadCommandLinesFilesAndZooms) {
  brevik::testing::TempDir home;
  const std::string file = writeFile(home, "3", {"Tank"}).string();
  const std::string out = (home / "out.png").string();
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{(home / "missing.QX1").string(), "--png", out}, kExitFailed, "not found"},
      {{(home / "missing.QX1").string(), "--describe"}, kExitFailed, "not found"},
      {{file, "--describe", "--from", "Tue  3-Jun-2003  9:20:00", "--to", "Tue  3-Jun-2003  9:21:00"},
       kExitFailed,
       "Maximum Zoom"},
      {{file}, kExitUsage, "usage: kaldo graph"},
      {{file, "--describe", "--png", out}, kExitUsage, "either an image file"},
      {{file, "--png", out, "--size", "640"}, kExitUsage, "--size takes"},
      {{file, "--png", out, "--size", "0x480"}, kExitUsage, "--size takes"},
      {{file, "--describe", "--from", "Tue  3-Jun-2003  9:20:00"}, kExitUsage, "go together"},
      {{file, "--describe", "--from", "yesterday", "--to", "today"}, kExitUsage, "display stamp"},
      {{file, "--png"}, kExitUsage, "needs a value"},
      {{file, "--jpeg", out}, kExitUsage, "unknown option"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const auto run = runKaldoCommand(home, "graph", c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

}  // namespace
}  // namespace brevik::cli
