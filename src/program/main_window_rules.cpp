#include "program/main_window_rules.h"

namespace brevik::program {

MainWindowLook mainWindowLook(const settings::LoggerSettings& settings, bool linkUp) {
  MainWindowLook look;
  if (settings.NetworkMode != 0) {
    look.stationControls = true;
    look.station = settings.StationAddress;
    look.modemPanel = linkUp;
  }
  look.phoneControls = settings.UseModem != 0;
  return look;
}

std::uint8_t stepStation(std::uint8_t station, int step) {
  return static_cast<std::uint8_t>((static_cast<int>(station) + step % 256 + 256) % 256);
}

}  // namespace brevik::program
