#pragma once
// Builds .QX1 files for the tests through the writer: a header and memory
// images given as bytes, cut into lines the way the logger sends them.

#include <cstdint>
#include <cstdio>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "datafile/data_file_reader.h"
#include "datafile/data_file_writer.h"
#include "datafile/sample_unpacking.h"
#include "protocol/vocabulary.h"

namespace brevik::fixtures {

// A header with sensible values: one logger of the given resolution, model
// '5' (so the type line carries the resolution letter) and `channels` on.
inline datafile::DataFileHeaderFields sampleHeader(int resolutionCode, int activeChannels = 1) {
  datafile::DataFileHeaderFields h;
  h.referenceOhms = datafile::kReferenceOhms30100;
  h.typeCodes = {'C', '3', 'X', 'k'};
  h.revision = 'q';
  h.modelCode = '5';
  h.inputModes = 0x0201;
  h.resolutionCode = resolutionCode;
  h.batteryVolts = 3.6f;
  h.first = "Tue  3-Jun-2003  9:05:00";
  h.last = "Wed  4-Jun-2003 10:00:00";
  h.transferred = "Wed  4-Jun-2003 10:01:02";
  h.pcTime = "Wed  4-Jun-2003 10:01:05";
  h.session = "Well4;siteB";
  h.descriptions = {"Air", "Water", "Door", "Probe"};
  h.rateCode = 'G';
  h.channelBits = static_cast<std::uint8_t>((1 << activeChannels) - 1);
  h.scalingTexts = {"C", "  0.00100.00", "   0.0   1.0", "k"};
  return h;
}

// Hex lines of `bytes`, `perLine` bytes each (the last may be shorter), each
// followed by two checksum digits.
inline std::vector<std::string> hexLines(const std::vector<std::uint8_t>& bytes, std::size_t perLine,
                                         bool lowerCase = false) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < bytes.size(); at += perLine) {
    std::string line;
    unsigned sum = 0;
    for (std::size_t i = at; i < std::min(bytes.size(), at + perLine); ++i) {
      char pair[3];
      std::snprintf(pair, sizeof pair, lowerCase ? "%02x" : "%02X", bytes[i]);
      line += pair;
      sum += bytes[i];
    }
    char check[3];
    std::snprintf(check, sizeof check, "%02X", sum & 0xFF);
    lines.push_back(line + check);
  }
  return lines;
}

inline std::size_t lineBytes(int resolutionCode) { return datafile::dataDigitsPerLine(resolutionCode) / 2; }

// The file: header, then each section's lines, "Z" + letter after each
// section when `endLines` says so (wrap-mode files have them only between
// sections).
inline std::string buildFile(const datafile::DataFileHeaderFields& h, const std::vector<std::vector<std::uint8_t>>& sections,
                             bool endLines = true) {
  std::ostringstream out;
  datafile::DataFileWriter writer(out);
  (void)writer.writeHeader(h);
  char letter = 'A';
  for (std::size_t i = 0; i < sections.size(); ++i) {
    for (const std::string& line : hexLines(sections[i], lineBytes(h.resolutionCode))) (void)writer.appendDataLine(line);
    if (endLines || i + 1 < sections.size()) (void)writer.endBank(letter);
    letter = letter == 'D' ? 'A' : static_cast<char>(letter + 1);
  }
  (void)writer.close();
  return out.str();
}

// Samples 0, 1, 2, ... folded into the full scale: easy to tell apart.
inline std::vector<std::uint16_t> rampSamples(std::size_t count, int fullScale, std::size_t offset = 0) {
  std::vector<std::uint16_t> s(count);
  for (std::size_t i = 0; i < count; ++i)
    s[i] = static_cast<std::uint16_t>(((i + offset) * 37 + (i + offset) / 7) % (static_cast<std::size_t>(fullScale) + 1));
  return s;
}

inline std::vector<std::uint8_t> pack(int resolutionCode, const std::vector<std::uint16_t>& samples) {
  std::vector<std::uint8_t> bytes(samples.size() * 2 + 8);
  bytes.resize(datafile::packSamples(resolutionCode, samples, bytes));
  return bytes;
}

// A ring memory (one or more banks back to back) whose pointer cuts group
// `group` after `phase` samples: t[i] sits at memory sample
// (group * gs + phase + i) mod size. The image starts at the pointer (the
// oldest sample); the cut group's low-bits byte is the tail.
struct Ring {
  std::vector<std::uint8_t> image;
  std::uint8_t tail = 0;
};

inline Ring ringOf(int res, const std::vector<std::uint16_t>& t, std::size_t group, int phase) {
  const std::size_t m = t.size();
  const std::size_t gs = datafile::groupSamples(res);
  const std::size_t gb = datafile::groupBytes(res);
  std::vector<std::uint16_t> memorySamples(m);
  for (std::size_t i = 0; i < m; ++i) memorySamples[(group * gs + static_cast<std::size_t>(phase) + i) % m] = t[i];
  const auto memory = pack(res, memorySamples);
  Ring r;
  const std::size_t start = group * gb + static_cast<std::size_t>(phase);
  r.image.reserve(memory.size());
  for (std::size_t i = 0; i < memory.size(); ++i) r.image.push_back(memory[(start + i) % memory.size()]);
  r.tail = memory[group * gb + gb - 1];
  return r;
}

// A 12-bit, two-channel, two-bank (model '6') file: bank A full, bank B
// with three samples per channel.
inline std::string twoBankFile() {
  using namespace datafile;
  DataFileHeaderFields h = sampleHeader(protocol::kResolution12Bit, 2);
  h.channelBits = 0x05;  // channels 1 and 3
  h.modelCode = '6';
  h.lastBank = 'B';
  h.memoryPointer = 512 + 9;
  h.phaseByte = 4;
  const auto full = rampSamples(21504, 4095);
  const std::vector<std::uint16_t> tail = {10, 20, 11, 21, 12, 22, 13, 23};
  std::vector<std::uint8_t> second = pack(protocol::kResolution12Bit, tail);
  second.resize(96, 0);
  return buildFile(h, {pack(protocol::kResolution12Bit, full), second});
}

}  // namespace brevik::fixtures
