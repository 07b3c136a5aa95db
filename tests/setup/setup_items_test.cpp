#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "protocol/vocabulary.h"
#include "setup/setup_items.h"

namespace brevik::setup {
namespace {

TEST(RateItems, EveryRateCodeHasOneItemAndRoundTrips) {
  ASSERT_EQ(rateItems().size(), 28u);
  for (char code : protocol::allRateCodes()) {
    const int item = rateItemOfCode(code);
    EXPECT_EQ(rateCodeOfItem(item), code) << code;
  }
  EXPECT_EQ(rateItems()[11], "10 secs");
  EXPECT_EQ(rateItemOfCode('D'), 11);
  EXPECT_EQ(rateItemOfCode('U'), 18);
  EXPECT_EQ(rateItems()[rateItemOfCode('S')], "3Heures");
}

TEST(RateItems, UnknownCodesAndIndicesFallBack) {
  EXPECT_EQ(rateItemOfCode('A'), 11);
  EXPECT_EQ(rateItemOfCode('\0'), 11);
  EXPECT_EQ(rateCodeOfItem(-1), 'R');
  EXPECT_EQ(rateCodeOfItem(28), 'R');
}

TEST(ScaleItems, CodesAndItemsAreInverse) {
  for (int ch = 1; ch <= 4; ++ch) {
    const auto items = initialScaleItems(ch);
    ASSERT_EQ(static_cast<int>(items.size()), scaleItemCount(ch));
    for (int item = 0; item < scaleItemCount(ch); ++item) {
      const auto code = scaleCodeOfItem(ch, item);
      EXPECT_EQ(code.has_value(), !isScaleActionItem(item)) << ch << "/" << item;
      if (code) {
        EXPECT_EQ(scaleItemOfCode(ch, *code), item) << ch << "/" << item;
      }
    }
  }
  EXPECT_EQ(scaleItemCount(3), 44);
  EXPECT_EQ(initialScaleItems(3)[12], "B Type & Mvt-50u");
  EXPECT_EQ(initialScaleItems(3)[21], "E Type & Mvt-50u \"cold\"");
  EXPECT_EQ(scaleCodeOfItem(3, 33), '`');
  EXPECT_EQ(initialScaleItems(3)[43], "T Type & Mvt-11b");
  EXPECT_EQ(initialScaleItems(2)[7], "Table Dédiée:"_cp);
  EXPECT_EQ(initialScaleItems(1)[7], "Table dédiée:"_cp);
}

TEST(ScaleItems, ThermocouplesOnlyOnChannel3) {
  EXPECT_FALSE(scaleItemOfCode(1, 'k').has_value());
  EXPECT_FALSE(scaleItemOfCode(4, '~').has_value());
  EXPECT_EQ(scaleItemOfCode(3, 'k'), 16);
  EXPECT_FALSE(scaleItemOfCode(3, 'Q').has_value());
  EXPECT_FALSE(scaleCodeOfItem(1, 12).has_value());
}

TEST(InputItems, ItemThreeIsExcitationOrPulse) {
  EXPECT_EQ(inputModeOfItem(1, 3), 5);
  EXPECT_EQ(inputModeOfItem(4, 3), 4);
  EXPECT_EQ(inputItems(4)[3], "Pulse");
  EXPECT_EQ(inputItemOfMode(4), 3);
  EXPECT_EQ(inputItemOfMode(5), 3);
  EXPECT_EQ(inputItemOfMode(2), 2);
  EXPECT_FALSE(inputItemOfMode(3).has_value());
}

TEST(ModelItems, SettingsCodesAndMemory) {
  EXPECT_EQ(modelItemOfSettingsCode(1), 0);
  EXPECT_EQ(modelItemOfSettingsCode(3), 2);
  EXPECT_EQ(modelItemOfSettingsCode(5), 3);
  EXPECT_EQ(modelItemOfSettingsCode(6), 4);
  EXPECT_FALSE(modelItemOfSettingsCode(4).has_value());
  // Readings by model item (rows) and resolution item 12, 10, 8 bit.
  const std::int32_t readings[5][3] = {{32256, 32256, 32256},
                                       {25800, 25800, 25800},
                                       {21504, 21504, 21504},
                                       {21504, 25800, 32256},
                                       {86016, 103200, 129024}};
  for (int model = 0; model < 5; ++model) {
    for (int resolution = 0; resolution < 3; ++resolution) {
      EXPECT_EQ(memoryReadingsOf(model, resolution), readings[model][resolution]) << model << " " << resolution;
    }
  }
  EXPECT_EQ(memoryReadingsOf(4, 7), 86016);  // a resolution item out of range reads as 12 bit
  EXPECT_EQ(memoryReadingsOf(9, 1), 32256);
}

TEST(ChannelEventTexts, DependOnTheRevision) {
  EXPECT_EQ(channelEventTexts('n').stopItem, "until thermistor probes detach");
  EXPECT_EQ(channelEventTexts('o').startItem, "quand canal 1 est fermé         "_cp);
  EXPECT_EQ(channelEventTexts('Z').startItem, "when all thermistor(s) are attached");
}

}  // namespace
}  // namespace brevik::setup
