#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "setup/setup_items.h"
#include "setup/setup_model.h"

namespace brevik::setup {
namespace {

const DateTime kNow{2024, 3, 5, 10, 20, 30, 0, 2};

class SetupModelTest : public ::testing::Test {
 protected:
  FixedClock clock{kNow};
  LoggerConfiguration config = LoggerConfiguration::builtInDefault(clock);
  SetupModel model;

  void populate() { model.populateFromRecord(config, clock); }
};

TEST_F(SetupModelTest, PopulateThenCollectGivesBackTheScaling) {
  config.setScaleCode(1, '3');
  config.setScaleText(1, "-5.00010.000");
  config.setScaleCode(2, 'X');
  config.setScaleText(2, "0.0000100.00");
  config.setScaleCode(3, '1');
  config.setTableName(3, "MYTAB");
  config.setScaleCode(4, 'P');
  config.setChannelOn(2, false);
  config.setInputModes(static_cast<std::uint16_t>(1 | (2 << 3) | (5 << 6) | (4 << 9)));
  config.setModes(0, 2);
  config.setRateCode('U');
  config.setChannelDescription(1, "Inside");
  config.setSessionDescription("Greenhouse");
  config.setResolution(kResolution10Bit);  // the form holds a KALDO, which has a resolution
  populate();
  EXPECT_EQ(model.scalingBoxes[0].text(), "Linear: -5.000 / 10.000");
  EXPECT_EQ(model.scalingBoxes[1].text(), "Fer/ouv: 0.0000 / 100.00");
  EXPECT_EQ(model.scalingBoxes[2].text(), "Table: (MYTAB.rvt)");
  EXPECT_EQ(model.channelDescriptions[0], "Inside");
  EXPECT_EQ(model.onOffCaptions[1], "OFF");
  LoggerConfiguration collected = config;
  model.collect(collected);
  EXPECT_EQ(collected, config);
}

TEST_F(SetupModelTest, ThermocoupleRoundTripOnChannel3) {
  config.setScaleCode(3, '`');
  populate();
  EXPECT_EQ(model.scalingBoxes[2].text(), "S Type & Mvt-22b");
  LoggerConfiguration collected = config;
  model.collect(collected);
  EXPECT_EQ(collected.scaleCode(3), '`');
}

TEST_F(SetupModelTest, UnknownCodesKeepTheBoxOrFallBack) {
  config.setRateCode('?');
  config.setScaleCode(1, 'k');  // a thermocouple on channel 1: not in its box
  model.selectScaling(1, 8);
  populate();
  EXPECT_EQ(model.rateBox.text(), "10 secs");
  EXPECT_EQ(model.scalingBoxes[0].index, 8);
}

TEST_F(SetupModelTest, StartTextsAndDialOutReset) {
  config.setModes(0, 0);
  config.setDialOutKind(kDialOutDaily);
  populate();
  EXPECT_EQ(model.startBox.items[1], "Heure prévue   "_cp);
  EXPECT_EQ(config.dialOutKind(), kDialOutNone);

  config.setModes(3, 0);
  config.setDialOutKind(kDialOutWeekly);
  config.setDialOutWeekday(2);
  config.setStartTime(8 * 3600 + 30 * 60);
  populate();
  EXPECT_EQ(model.startBox.index, 3);
  EXPECT_EQ(model.startBox.text(), "immediate; dialout on Mon at 8:30 AM");

  config.setModes(1, 0);
  config.setStartToday(true);
  populate();
  EXPECT_EQ(model.startBox.text(), "Tuesday, 3/5/2024 8:30 AM");

  // Collecting with a start other than the dial-out one drops the schedule.
  model.selectStart(0);
  model.collect(config);
  EXPECT_EQ(config.dialOutKind(), kDialOutNone);
  EXPECT_EQ(config.startMode(), 0);
}

TEST_F(SetupModelTest, LinearDialogAndItsCancel) {
  populate();
  EXPECT_EQ(model.selectScaling(2, kScaleItemNewLinear), ScalingAction::LinearDialog);
  EXPECT_TRUE(model.modified());
  model.scalingDialogCancelled();
  EXPECT_EQ(model.scalingBoxes[1].index, kScaleItemDefault);

  EXPECT_EQ(model.selectScaling(2, kScaleItemNewLinear), ScalingAction::LinearDialog);
  model.linearAccepted(std::get<ScalePair>(acceptScaleEntries("5", "10")));
  EXPECT_EQ(model.scalingBoxes[1].text(), "Linear: 5.0000 / 10.000");
  EXPECT_EQ(model.rememberedScaling(2), kScaleItemLinear);
  model.collect(config);
  EXPECT_EQ(config.scaleCode(2), '3');
  EXPECT_EQ(config.scaleText(2), "5.000010.000");
}

TEST_F(SetupModelTest, ContactDialogAndTableChooser) {
  populate();
  EXPECT_EQ(model.selectScaling(4, kScaleItemNewContact), ScalingAction::ContactDialog);
  model.contactAccepted(std::get<ScalePair>(acceptScaleEntries("0", "1")));
  EXPECT_EQ(model.selectScaling(1, kScaleItemChooseTable), ScalingAction::TableChooser);
  model.tableChosen("MYTAB.RVT");
  EXPECT_EQ(model.scalingBoxes[0].text(), "Table: (MYTAB.RVT)");
  model.collect(config);
  EXPECT_EQ(config.scaleCode(4), 'X');
  EXPECT_EQ(config.scaleText(4), "0.00001.0000");
  EXPECT_EQ(config.scaleCode(1), '1');
  EXPECT_EQ(config.tableName(1), "MYTAB");
}

TEST_F(SetupModelTest, DurationEstimates) {
  populate();
  model.prepare({false, false, 0, 5, 'q'}, config);
  // KALDO 12 bit: 21504 readings / 4 channels x 10 s = 896 minutes.
  EXPECT_EQ(model.durationText, "14.9 heure ");
  for (int ch = 1; ch <= 4; ++ch) model.toggleChannel(ch);
  EXPECT_EQ(model.durationText, "0");
  model.toggleChannel(1);
  model.selectRate(rateItemOfCode('C'));  // ~2 s really runs at 2.3 s
  EXPECT_EQ(model.durationText, "13.7 heure ");
  model.selectRate(rateItemOfCode('4'));
  EXPECT_EQ(model.durationText, " 1.8 mins  ");
}

TEST_F(SetupModelTest, PopulateFromStatus) {
  StatusSetupView status;
  status.flags = 16 | 32;
  status.channelBits = 0b0101;
  status.inputModes = static_cast<std::uint16_t>(4 << 9);
  status.rateCode = 'T';
  status.typeCodes = {'1', '3', 'h', 'X'};
  status.channelRecords = {"MYTAB       ", "0.0000100.00", "h           ", "1.00000.0000"};
  status.descriptions = {"Sonde 1                 ", "", "", ""};
  status.session = "Site nord                      ";
  status.modelCode = '6';
  status.tenBit = true;
  model.startBox.items[1] = "chosen earlier";
  model.populateFromStatus(status);
  EXPECT_EQ(model.fileNameLabel, "LAST STATUS");
  EXPECT_EQ(model.onOffCaptions, (std::array<std::string, 4>{"ON", "OFF", "ON", "OFF"}));
  EXPECT_EQ(model.channelDescriptions[0], "Sonde 1");
  EXPECT_EQ(model.sessionDescription, "Site nord");
  EXPECT_EQ(model.inputBoxes[3].text(), "Pulse");
  EXPECT_EQ(model.rateBox.text(), "~ 4 secs");
  EXPECT_EQ(model.startBox.index, 2);
  EXPECT_EQ(model.startBox.items[1], "Heure/datePrévu"_cp);
  EXPECT_EQ(model.runBox.index, 2);
  EXPECT_EQ(model.scalingBoxes[0].text(), "Table: (MYTAB.rvt)");
  EXPECT_EQ(model.scalingBoxes[1].text(), "Linear: 0.0000 / 100.00");
  EXPECT_EQ(model.scalingBoxes[2].text(), "K Type & Mvt-22b");
  EXPECT_EQ(model.scalingBoxes[3].text(), "Fer/ouv: 1.0000 / 0.0000");
  EXPECT_EQ(model.modelBox.text(), "KALDO-M");
  EXPECT_TRUE(model.resolutionBox.visible);
  EXPECT_EQ(model.resolutionBox.index, 1);
  EXPECT_FALSE(model.modified());
  model.collect(config);
  EXPECT_EQ(config.tableName(1), "MYTAB");
  EXPECT_EQ(config.resolution(), kResolution10Bit);
  EXPECT_EQ(config.stopMode(), 2);

  status.modelCode = '0';
  status.flags = 1;
  status.twelveBit = true;
  model.populateFromStatus(status);
  EXPECT_EQ(model.modelBox.index, 2);
  EXPECT_FALSE(model.resolutionBox.visible);
  EXPECT_EQ(model.runBox.index, 1);
  EXPECT_EQ(model.startBox.index, 0);
}

TEST_F(SetupModelTest, LabelsOnlyDisablesAllButScalingAndDescriptions) {
  populate();
  model.prepare({true, false, 0, 5, 'q'}, config);
  EXPECT_TRUE(model.labelsOnly());
  EXPECT_FALSE(model.onOffEnabled);
  EXPECT_FALSE(model.rateBox.enabled);
  EXPECT_FALSE(model.startBox.enabled);
  EXPECT_FALSE(model.runBox.enabled);
  EXPECT_FALSE(model.resolutionBox.enabled);
  EXPECT_FALSE(model.inputBoxes[2].enabled);
  EXPECT_TRUE(model.scalingBoxes[2].enabled);
  model.prepare({false, false, 0, 5, 'q'}, config);
  EXPECT_TRUE(model.rateBox.enabled);
  EXPECT_TRUE(model.onOffEnabled);
}

TEST_F(SetupModelTest, ModelStationAndFirmwareTexts) {
  config.setResolution(kResolution8Bit);
  populate();
  model.prepare({false, true, 300, 6, 'q'}, config);
  EXPECT_TRUE(model.stationVisible);
  EXPECT_EQ(model.stationAddress, 255);
  EXPECT_EQ(model.modelBox.text(), "KALDO-M");
  EXPECT_EQ(model.resolutionBox.text(), "  8 bit <Low>");
  EXPECT_EQ(model.memoryReadings(), 129024);
  EXPECT_EQ(config.resolution(), kResolution8Bit);
  model.prepare({false, false, 0, 2, 'q'}, config);
  EXPECT_FALSE(model.stationVisible);
  EXPECT_FALSE(model.resolutionBox.visible);
  EXPECT_EQ(config.resolution(), kResolutionNotApplicable);
  EXPECT_EQ(model.memoryReadings(), 25800);

  model.applyFirmwareTexts('n');
  EXPECT_EQ(model.runBox.items[2], "until thermistor probes detach");
  model.applyFirmwareTexts('q');
  EXPECT_EQ(model.runBox.items[2], "quand canal 1 est déconnecté / ouvert"_cp);
}

TEST_F(SetupModelTest, EditsMarkModifiedAndAreCut) {
  populate();
  EXPECT_FALSE(model.modifiedLabelVisible);
  model.setChannelDescription(1, std::string(30, 'x'));
  EXPECT_EQ(model.channelDescriptions[0].size(), 24u);
  EXPECT_TRUE(model.modified());
  EXPECT_TRUE(model.modifiedLabelVisible);
  model.setSessionDescription(std::string(40, 'y'));
  EXPECT_EQ(model.sessionDescription.size(), 31u);
  model.selectResolution(2, config);
  EXPECT_EQ(config.resolution(), kResolution8Bit);
  EXPECT_EQ(model.selectStart(1), StartAction::PresetDialog);
  model.dateDialogCancelled(config);
  EXPECT_EQ(model.startBox.index, 0);
  EXPECT_EQ(model.selectStart(3), StartAction::DialOutDialog);
  model.dialOutChosen("immediate; with 08:30 dialout");
  EXPECT_EQ(model.startBox.text(), "immediate; with 08:30 dialout");
  populate();
  EXPECT_FALSE(model.modified());
}

TEST(DurationText, Units) {
  EXPECT_EQ(durationText(100, 1, '4', false), " 0.5 secs  ");
  EXPECT_EQ(durationText(21504, 1, '4', false), " 1.8 mins  ");
  EXPECT_EQ(durationText(32256, 1, 'G', false), "22.4 Jour  ");
  EXPECT_EQ(durationText(32256, 1, 'K', false), "14.7 mois  ");
  EXPECT_EQ(durationText(32256, 1, 'M', false), " 3.7 ans   ");
  EXPECT_EQ(durationText(32256, 0, 'D', false), "0");
  // The approximate rates are corrected only for the KALDO models.
  EXPECT_EQ(durationText(21504, 1, 'C', false), "11.9 heure ");
  EXPECT_EQ(durationText(21504, 1, 'C', true), "13.7 heure ");
}

}  // namespace
}  // namespace brevik::setup
