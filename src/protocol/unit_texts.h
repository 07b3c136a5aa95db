#pragma once
// The unit text of a channel: the unit written in its description after the
// last ";", or the default of its type code and input mode.

#include <optional>
#include <string>
#include <string_view>

#include "protocol/humidity.h"

namespace brevik::protocol {

inline constexpr std::size_t kUnitTextWidth = 9;

// The text after the last ";" of a description, trailing blanks removed, at
// most 9 characters; nothing when the description holds no ";".
std::optional<std::string> unitFromDescription(std::string_view description);

// "Deg F"/"Deg C" for thermistors, 'P' and thermocouples, "FtCn" for light,
// "Ohms" for resistance, the humidity unit for other channels in Temp/RH
// mode, else empty.
std::string defaultUnitText(char typeCode, int inputMode, bool fahrenheit, HumidityMode humidityMode);

// The description's unit, else the default.
std::string channelUnitText(std::string_view description, char typeCode, int inputMode, bool fahrenheit,
                            HumidityMode humidityMode);

// As the status form shows it: a leading blank, six characters at most.
std::string statusUnitText(std::string_view unitText);

}  // namespace brevik::protocol
