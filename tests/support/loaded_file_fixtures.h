#pragma once
// Data files and loaded-file states for the loading and export tests: linear
// channels whose value is their count, so every expected value is plain.

#include <cstdint>
#include <string>
#include <vector>

#include "support/data_file_builder.h"
#include "datafile/loaded_file.h"
#include "protocol/channel_table.h"

namespace brevik::fixtures {

inline constexpr const char* kFirstStamp = "Tue  3-Jun-2003  9:05:00";

// An 8-bit header whose active channels are linear, 0-255 counts giving 0-255.
inline datafile::DataFileHeaderFields linearHeader(int channels, char rateCode, std::size_t samplesPerChannel) {
  datafile::DataFileHeaderFields h = sampleHeader(1, channels);
  h.typeCodes = {'3', '3', '3', '3'};
  h.scalingTexts = {"     0   255", "     0   255", "     0   255", "     0   255"};
  h.inputModes = 0;
  h.rateCode = rateCode;
  h.first = kFirstStamp;
  h.memoryPointer = static_cast<std::int32_t>(512 + samplesPerChannel * static_cast<std::size_t>(channels));
  return h;
}

// Interleaves per-channel counts into one 8-bit memory image.
inline std::vector<std::uint8_t> interleave(const std::vector<std::vector<std::uint8_t>>& perChannel) {
  std::vector<std::uint8_t> image;
  const std::size_t n = perChannel.size();
  for (std::size_t k = 0; k < perChannel.front().size(); ++k)
    for (std::size_t j = 0; j < n; ++j) image.push_back(perChannel[j][k]);
  return image;
}

// A state holding `samples` per slot of linear channels 1..slots, not zoomed.
inline datafile::LoadedFile linearState(const std::vector<std::vector<std::uint16_t>>& samples, double rate = 1.0) {
  datafile::LoadedFile f;
  protocol::ChannelTables tables{};
  std::array<char, 4> types{'0', '0', '0', '0'};
  for (std::size_t j = 0; j < samples.size(); ++j) {
    f.channels.push_back(static_cast<int>(j + 1));
    types[j] = '3';
    tables[j].addRow(0.0f, 0.0f);
    tables[j].addRow(255.0f, 255.0f);
    tables[j].scaled = true;
  }
  f.converter.setTypeCodes(types);
  f.converter.setTables(tables);
  f.converter.setFullScale(255);
  f.samples = samples;
  f.samplesInFile = f.samplesInRange = samples.front().size();
  f.rate = rate;
  f.header.first = kFirstStamp;
  f.firstTime = DateTime{2003, 6, 3, 9, 5, 0, 0, 2};
  return f;
}

}  // namespace brevik::fixtures
