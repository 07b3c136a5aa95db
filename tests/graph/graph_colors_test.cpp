#include "graph/graph_colors.h"

#include <gtest/gtest.h>

#include <set>

#include "common/files.h"
#include "support/temp_dir.h"

namespace brevik::graph {
namespace {

namespace fs = std::filesystem;
using brevik::testing::TempDir;

constexpr Rgb kRed{255, 0, 0};

TEST(GraphColors, PaletteIndexesAndColoursRoundTrip) {
  std::set<std::string_view> buttons;
  for (int index = 1; index <= 16; ++index) {
    const Rgb rgb = paletteColor(index);
    EXPECT_EQ(paletteIndexOf(rgb), index);
    buttons.insert(kPalette[static_cast<std::size_t>(index - 1)].buttonName);
  }
  EXPECT_EQ(buttons.size(), 16u);
  EXPECT_EQ(paletteColor(10), (Rgb{0, 128, 128}));
  EXPECT_EQ(paletteColor(16), (Rgb{0, 0, 0}));
  EXPECT_EQ(paletteIndexOf(Rgb{1, 2, 3}), kNotInPalette);
}

TEST(GraphColors, IndexOutsidePaletteShowsRed) {
  for (int index : {0, 17, 255, -1}) EXPECT_EQ(paletteColor(index), kRed) << index;
  ColorSlots slots = kFactoryColorSlots;
  slots[2] = 0;
  slots[3] = 17;
  EXPECT_EQ(slotColor(slots, 3), kRed);
  EXPECT_EQ(slotColor(slots, 4), kRed);
  EXPECT_EQ(slotColor(slots, 1), (Rgb{0, 128, 128}));
  EXPECT_EQ(slotColor(slots, 8), (Rgb{255, 255, 255}));
}

TEST(GraphColors, FileTextIsEightCrLfLines) {
  EXPECT_EQ(formatColorFile(kFactoryColorSlots), "10\r\n6\r\n4\r\n7\r\n16\r\n10\r\n1\r\n1\r\n");
  // The shipped default file is exactly the factory defaults.
  auto shipped = files::readAll(brevik::testing::dataDir() / "default.gcf");
  ASSERT_TRUE(shipped);
  EXPECT_EQ(*shipped, formatColorFile(kFactoryColorSlots));
}

TEST(GraphColors, WriteThenReadGivesTheSameSlots) {
  TempDir dir;
  const ColorSlots slots = {1, 2, 3, 0, 17, 255, 15, 16};
  ASSERT_TRUE(writeColorFile(dir / "mine.gcf", slots));
  EXPECT_EQ(dir.read("mine.gcf"), "1\r\n2\r\n3\r\n0\r\n17\r\n255\r\n15\r\n16\r\n");
  auto back = readColorFile(dir / "mine.gcf");
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, slots);
}

TEST(GraphColors, ParsingIsForgivingAboutLayoutOnly) {
  // LF endings, blanks around numbers, a signed number, lines past the eighth.
  auto r = parseColorFile(" 10 \n6\n\t4\n+7\n16\n10\n1\n1\nextra\n");
  ASSERT_TRUE(r);
  EXPECT_EQ(*r, kFactoryColorSlots);
  // No line end after the eighth line.
  r = parseColorFile("1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n9");
  ASSERT_TRUE(r);
  EXPECT_EQ((*r)[7], 9);
  // Out of byte range: kept as "not a palette colour", shown red.
  r = parseColorFile("300\r\n-4\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n");
  ASSERT_TRUE(r);
  EXPECT_EQ((*r)[0], kNotInPalette);
  EXPECT_EQ((*r)[1], kNotInPalette);
}

TEST(GraphColors, ShortFilesAndGarbageLinesAreRefusedWhole) {
  struct Case { std::string text; std::string message; };
  const Case cases[] = {
      {"", "it has 0 lines where 8 are needed"},
      {"10\r\n6\r\n4\r\n", "it has 3 lines where 8 are needed"},
      {"10\r\n6\r\nblue\r\n7\r\n16\r\n10\r\n1\r\n1\r\n", "line 3 'blue' is not a valid integer value"},
      {"10\r\n\r\n4\r\n7\r\n16\r\n10\r\n1\r\n1\r\n", "line 2 '' is not a valid integer value"},
      {"10\r\n6\r\n4.5\r\n7\r\n16\r\n10\r\n1\r\n1\r\n", "line 3 '4.5' is not a valid integer value"},
      {"+-7\r\n", "line 1 '+-7' is not a valid integer value"},
      {"99999999999999999999\r\n", "line 1 '99999999999999999999' is not a valid integer value"},
      {std::string("1\0\x01", 3), "line 1 '1?" "?' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    auto r = parseColorFile(c.text);
    ASSERT_FALSE(r) << c.text;
    EXPECT_EQ(r.error().kind, ErrorKind::InvalidData);
    EXPECT_EQ(r.error().message, c.message);
  }
  TempDir dir;
  dir.write("bad.gcf", "10\r\nx\r\n");
  auto r = readColorFile(dir / "bad.gcf");
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().message, "Graph color file bad.gcf: line 2 'x' is not a valid integer value");
}

TEST(GraphColors, SaveNameGetsTheGcfExtension) {
  EXPECT_EQ(colorFileSaveName("/h/mine"), fs::path("/h/mine.GCF"));
  EXPECT_EQ(colorFileSaveName("/h/mine.txt"), fs::path("/h/mine.GCF"));
  EXPECT_EQ(colorFileSaveName("/h/mine.gcf"), fs::path("/h/mine.gcf"));
  EXPECT_EQ(colorFileSaveName("/h/mine.Gcf"), fs::path("/h/mine.Gcf"));
}

TEST(GraphColors, StartupLoadsTheNamedFileWithoutItsDirectory) {
  TempDir home;
  const ColorSlots mine = {16, 15, 14, 13, 12, 11, 9, 8};
  ASSERT_TRUE(writeColorFile(home / "mine.gcf", mine));
  for (std::string_view setting : {"mine.gcf", "C:\\Program Files\\KVL\\mine.gcf", "/elsewhere/mine.gcf"}) {
    const auto s = loadStartupColors(home.path(), setting);
    EXPECT_EQ(s.slots, mine) << setting;
    EXPECT_FALSE(s.warning) << setting;
    EXPECT_FALSE(s.colorFileName) << setting;
  }
  EXPECT_FALSE(fs::exists(home / "default.gcf"));
}

TEST(GraphColors, StartupWithoutTheFileFallsBackAndWritesDefaultGcf) {
  TempDir home;
  auto s = loadStartupColors(home.path(), "C:\\KVL\\gone.gcf");
  EXPECT_EQ(s.slots, kFactoryColorSlots);
  ASSERT_TRUE(s.warning);
  EXPECT_EQ(*s.warning, "Graph color file: C:\\KVL\\gone.gcf not found; loading factory defaults");
  ASSERT_TRUE(s.colorFileName);
  EXPECT_EQ(*s.colorFileName, "default.gcf");
  EXPECT_FALSE(s.writeError);
  EXPECT_EQ(home.read("default.gcf"), "10\r\n6\r\n4\r\n7\r\n16\r\n10\r\n1\r\n1\r\n");
  // From then on the file is found and nothing is said.
  s = loadStartupColors(home.path(), *s.colorFileName);
  EXPECT_FALSE(s.warning);
  EXPECT_EQ(s.slots, kFactoryColorSlots);
}

TEST(GraphColors, StartupWithAnUnusableFileFallsBackToo) {
  TempDir home;
  home.write("odd.gcf", "1\r\n2\r\n");
  auto s = loadStartupColors(home.path(), "odd.gcf");
  EXPECT_EQ(s.slots, kFactoryColorSlots);
  EXPECT_TRUE(s.warning);
  EXPECT_EQ(home.read("odd.gcf"), "1\r\n2\r\n");  // the user's file is left alone
  // A name the home may not hold is not looked for.
  s = loadStartupColors(home.path(), "");
  EXPECT_EQ(*s.warning, "Graph color file:  not found; loading factory defaults");
  // A home that cannot be written: the defaults are used and the failure reported.
  const fs::path missingHome = home / "no" / "such";
  s = loadStartupColors(missingHome, "default.gcf");
  EXPECT_EQ(s.slots, kFactoryColorSlots);
  EXPECT_TRUE(s.writeError);
  EXPECT_EQ(*s.colorFileName, "default.gcf");
}

TEST(GraphColors, DialogDataNamesEverySlot) {
  EXPECT_EQ(kColorSlotInfo[6].caption, std::string_view("Fond arri\xE8"));
  EXPECT_EQ(kColorSlotInfo[4].caption, "Texte & Echelle");
  for (std::size_t i = 0; i < kColorSlotCount; ++i) {
    EXPECT_EQ(kColorSlotInfo[i].slot, static_cast<int>(i + 1));
    EXPECT_EQ(kColorSlotInfo[i].radioButton, "RadioButton" + std::to_string(i + 1));
    EXPECT_EQ(kColorSlotInfo[i].panel, "Panel" + std::to_string(i + 1));
  }
  EXPECT_EQ(color_dialog::kSaveButtonCaption, "&Save As... ");
}

}  // namespace
}  // namespace brevik::graph
