#pragma once
// What the main window (TMain) shows, decided from the settings and the
// state of the link: which controls are visible on each paint, and which
// ones auto-answer mode locks.

#include <array>
#include <cstdint>
#include <string_view>

#include "settings/logger_settings.h"

namespace brevik::program {

struct MainWindowLook {
  bool stationControls = false;  // NetBevelMain, NetLabelMain, NetFieldMain, NetSpinMain
  std::uint8_t station = 0;      // NetFieldMain's value while shown
  bool modemPanel = false;       // ModemPanel: a call is up in network mode
  bool phoneControls = false;    // PhoneBevelMain, PhoneLabelMain, PhoneBox
};

MainWindowLook mainWindowLook(const settings::LoggerSettings& settings, bool linkUp);

// The menus and controls auto-answer mode disables; MainSettings and Help1
// stay usable so the mode can be left.
inline constexpr std::array<std::string_view, 6> kAutoAnswerLockedMenus = {
    "MMFile", "Send", "ReceivefromLogger1", "Graph1", "Modem1", "Utilities1"};
inline constexpr std::array<std::string_view, 4> kAutoAnswerLockedControls = {
    "PhoneBox", "NetFieldMain", "NetSpinMain", "HangUpBtn"};

// The station spinner wraps: one step up from 255 is 0 and down from 0 is 255.
std::uint8_t stepStation(std::uint8_t station, int step);

}  // namespace brevik::program
