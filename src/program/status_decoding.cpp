#include "program/status_decoding.h"

#include "protocol/auto_file_name.h"
#include "protocol/channel_tables.h"
#include "protocol/humidity.h"

namespace brevik::program {

protocol::StatusSettings statusSettingsOf(const settings::LoggerSettings& settings) {
  protocol::StatusSettings s;
  s.fahrenheit = settings.FahrenheitUnits != 0;
  s.twelveHourClock = settings.TwelveHourClock != 0;
  s.humidityMode = protocol::humidityModeFromSetting(settings.HumidityMode);
  s.lastRevision = settings.LastRevision;
  return s;
}

protocol::StatusDecodeResult decodeStatusInHome(std::string_view reply, settings::LoggerSettings& settings,
                                                const std::filesystem::path& home, const Clock& clock) {
  protocol::StatusDecodeResult result =
      protocol::decodeStatusReply(reply, statusSettingsOf(settings), clock, protocol::homeTableReader(home));
  if (result.newLastRevision) settings.LastRevision = *result.newLastRevision;
  if (result.newLastModelCode) settings.LastModelCode = static_cast<std::uint8_t>(*result.newLastModelCode);
  return result;
}

}  // namespace brevik::program

namespace brevik::program {

std::string answeredCallFileName(std::string_view sessionDescription, settings::LoggerSettings& settings,
                                 const std::filesystem::path& home) {
  const protocol::AutoFileName name =
      protocol::nextAutoFileName(sessionDescription, settings.AutoFileCounter, [&home](const std::string& candidate) {
        std::error_code ec;
        return std::filesystem::exists(home / candidate, ec);
      });
  settings.AutoFileCounter = name.counter;
  (void)settings::saveSettings(home, settings);
  return name.fileName;
}

}  // namespace brevik::program
