#pragma once
// A real-time reading line: the twelve characters of packed readings at its
// start, decoded with the resolution, revision, tables and units of the
// status decoded at the start of the exchange.

#include <array>
#include <string>
#include <string_view>

#include "common/result.h"
#include "protocol/conversions.h"
#include "protocol/logger_status.h"

namespace brevik::protocol {

struct ReadingUpdate {
  std::array<std::uint16_t, kChannelCount> raw{};
  std::array<float, kChannelCount> values{};        // after the Fahrenheit rule
  std::array<std::string, kChannelCount> texts;     // "OFF", " Open" or the value with its unit
  int batteryReading = 0;
  float referenceOhms = 0.0f;
};

// Decodes and converts one checked line. `status` is updated with the new
// readings (raw counts, values, reference resistor). InvalidData when the
// line is shorter than twelve characters or a pair is not hexadecimal.
Result<ReadingUpdate> decodeReadingLine(std::string_view line, LoggerStatus& status, UnitConverter& converter);

}  // namespace brevik::protocol
