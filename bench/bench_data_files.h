#pragma once
// The benchmarks' input: 8-bit four-channel data files (a thermistor, two
// linear channels and a contact, one sample a minute) of one to four full
// banks, written with the data file writer. Slow waves with some noise,
// different on each channel, so lines and ranges look like a field record.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "common/logger_memory.h"
#include "datafile/data_file_writer.h"

namespace brevik::bench {

// A new directory under the system's temporary one, holding the thermistor
// table the files need.
inline std::filesystem::path freshDirectory(const std::string& prefix) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / (prefix + "-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::copy_file(fs::path(BREVIK_DATA_DIR) / "C.Rvt", dir / "C.Rvt", fs::copy_options::overwrite_existing);
  return dir;
}

// Writes `name` in `dir` with `banks` (1 or 4) full banks; aborts when the
// file cannot be written (a benchmark without its input measures nothing).
inline std::filesystem::path writeBenchDataFile(const std::filesystem::path& dir, const std::string& name, int banks) {
  constexpr std::size_t kLineBytes = 96;
  datafile::DataFileHeaderFields h;
  h.referenceOhms = datafile::kReferenceOhms30100;
  h.typeCodes = {'C', '3', 'X', '3'};
  h.revision = 'q';
  h.modelCode = '6';
  h.resolutionCode = 1;
  h.batteryVolts = 3.6f;
  h.lastBank = static_cast<char>('A' + banks - 1);
  h.first = "Tue  3-Jun-2003  9:05:00";
  // One sample a minute: four banks of 8,064 per channel end 32,255 minutes on.
  h.last = banks == 4 ? "Wed 25-Jun-2003 18:40:00" : "Sun  8-Jun-2003 23:28:00";
  h.transferred = "Thu 26-Jun-2003 10:01:02";
  h.pcTime = "Thu 26-Jun-2003 10:01:05";
  h.session = "Bench;site";
  h.descriptions = {"Air", "Level;m", "Door", "Flow;l/s"};
  h.rateCode = 'G';
  h.channelBits = 0x0F;
  h.memoryPointer = memory::kFirstDataAddress + memory::kBankBytes;
  h.scalingTexts = {"C", "  0.00  5.00", "   0.0   1.0", "   0.0 100.0"};
  auto writer = datafile::DataFileWriter::create(dir / name);
  if (!writer) std::abort();
  (void)writer->writeHeader(h);
  std::string line;
  std::size_t sample = 0;
  for (int b = 0; b < banks; ++b) {
    for (std::int32_t at = 0; at < memory::kBankBytes; at += static_cast<std::int32_t>(kLineBytes)) {
      line.clear();
      unsigned sum = 0;
      for (std::size_t i = 0; i < kLineBytes; ++i, ++sample) {
        const auto v = static_cast<unsigned>((sample / 4 / 40 + (sample % 4) * 60 + (sample * 7919) % 13) % 230 + 10);
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", v & 0xFF);
        line += pair;
        sum += v;
      }
      char check[3];
      std::snprintf(check, sizeof check, "%02X", sum & 0xFF);
      line += check;
      (void)writer->appendDataLine(line);
    }
    (void)writer->endBank(static_cast<char>('A' + b));
  }
  (void)writer->close();
  return dir / name;
}

}  // namespace brevik::bench
