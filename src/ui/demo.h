#pragma once
// brevik --demo: a fresh temporary home whose COM1 is the built-in virtual
// logger, so a newcomer can read a status, watch live readings and try the
// program with no hardware. With BREVIK_DEMO_SCREENSHOTS=DIR the demo reads
// one status by itself, saves main.png and status.png into DIR, downloads
// the logger into demo.qx1, saves its graph in one to four viewports,
// monochrome with symbols and zoomed, the colour, viewport and text export
// dialogs, a real-time graph of the logger's readings, the setup window in
// both modes, the station address window and the setup dialogs, the phone
// book and modem lists, the remote modem and com test windows, and ends
// (what the README's main job runs under xvfb-run).

#include <filesystem>

#include "common/result.h"

namespace brevik::ui {

class BrevikDesktop;

// The shipped profile of the demo's logger, and the rate it runs at.
inline constexpr const char* kDemoProfile = "kaldo5-12bit";
inline constexpr unsigned kDemoBaudRate = 57600;

// A new directory under the system's temporary directory, seeded with the
// shipped files, with ports.ini mapping COM1 to the demo's virtual logger
// and kvlog.ini set to its rate and protocol.
Result<std::filesystem::path> prepareDemoHome(const std::filesystem::path& dataDir);

// Shows the main window, and runs the screenshot tour when asked for.
void startDemo(BrevikDesktop& desktop);

}  // namespace brevik::ui
