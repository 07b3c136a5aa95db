#include "protocol/unit_texts.h"

#include "common/bytes.h"
#include "protocol/vocabulary.h"

namespace brevik::protocol {

std::optional<std::string> unitFromDescription(std::string_view description) {
  const auto semicolon = description.rfind(';');
  if (semicolon == std::string_view::npos) return std::nullopt;
  std::string unit = bytes::trimmedRight(description.substr(semicolon + 1));
  if (unit.size() > kUnitTextWidth) unit.resize(kUnitTextWidth);
  return unit;
}

std::string defaultUnitText(char typeCode, int inputMode, bool fahrenheit, HumidityMode humidityMode) {
  const bool temperature = typeCode == 'A' || typeCode == 'B' || typeCode == 'C' || typeCode == 'P' ||
                           byteOf(typeCode) >= byteOf('Y');
  if (temperature) return fahrenheit ? "Deg F" : "Deg C";
  if (typeCode == 'L') return "FtCn";
  if (typeCode == 'R') return "Ohms";
  if (inputMode == kInputModeTempRh) {
    switch (humidityMode) {
      case HumidityMode::DewPoint: return "Dew P";
      case HumidityMode::WetBulb: return "Wet B";
      case HumidityMode::RelativeHumidity: return "% RH";
    }
  }
  return {};
}

std::string channelUnitText(std::string_view description, char typeCode, int inputMode, bool fahrenheit,
                            HumidityMode humidityMode) {
  if (auto unit = unitFromDescription(description)) return *unit;
  return defaultUnitText(typeCode, inputMode, fahrenheit, humidityMode);
}

std::string statusUnitText(std::string_view unitText) {
  std::string s = " " + std::string(unitText);
  if (s.size() > 6) s.resize(6);
  return s;
}

}  // namespace brevik::protocol
