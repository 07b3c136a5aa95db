// The Settings dialog's rules without a window.

#include "settings/settings_dialog.h"

#include <gtest/gtest.h>

namespace brevik::settings {
namespace {

TEST(SettingsDialogRules, ShowsTheFieldsAndMapsTheRates) {
  LoggerSettings s;
  s.PortNumber = 4;
  s.BaudRate = 2400;
  const SettingsDialogState shown = settingsDialogStateOf(s);
  EXPECT_EQ(shown.portIndex, 3);
  EXPECT_EQ(shown.baudIndex, 1);
  s.BaudRate = 38400;
  EXPECT_EQ(settingsDialogStateOf(s).baudIndex, 6);  // no item: OK keeps the rate
  LoggerSettings stored = s;
  EXPECT_TRUE(applySettingsDialog(settingsDialogStateOf(s), stored).accepted);
  EXPECT_EQ(stored.BaudRate, 38400u);
}

TEST(SettingsDialogRules, AutoAnswerNeedsTheModem) {
  LoggerSettings s;
  s.AutoAnswer = 1;
  SettingsDialogState state = settingsDialogStateOf(s);
  state.autoAnswer = true;
  state.modem = false;
  const SettingsDialogOutcome out = applySettingsDialog(state, s);
  EXPECT_EQ(out.autoAnswer, AutoAnswerChange::Leave);
  EXPECT_EQ(s.AutoAnswer, 0);
  state.modem = true;
  state.network = true;
  EXPECT_EQ(applySettingsDialog(state, s).autoAnswer, AutoAnswerChange::Enter);
  EXPECT_EQ(s.AutoAnswer, 1);
}

TEST(SettingsDialogRules, RefusalsStopAtTheirStep) {
  LoggerSettings s;
  SettingsDialogState state = settingsDialogStateOf(s);
  state.modem = true;
  state.wireless = true;
  EXPECT_EQ(applySettingsDialog(state, s).refusal, std::string(kModemNeedsNetworkText));
  EXPECT_EQ(s.Wireless, 0);  // nothing stored
  state.modem = false;
  state.baudIndex = 7;
  state.fastProtocol = false;
  state.twelveHour = false;
  EXPECT_EQ(applySettingsDialog(state, s).refusal, std::string(kBaudNeedsFastProtocolText));
  EXPECT_EQ(s.Wireless, 1);  // step 2 stored
  EXPECT_EQ(s.BaudRate, 57600u);
  EXPECT_EQ(s.TwelveHourClock, 1);
}

}  // namespace
}  // namespace brevik::settings
