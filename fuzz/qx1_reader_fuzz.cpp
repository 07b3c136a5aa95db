// Feeds arbitrary bytes to the .QX1 reader: it must either load the file or
// return an error, and a loaded file must be self-consistent.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "datafile/data_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const auto file = brevik::datafile::parseLoggerDataFile(content, "fuzz.qx1");
  if (!file.ok()) return 0;
  const std::size_t channels = file->channels.size();
  if (channels < 1 || channels > 4) std::abort();
  for (const auto& bank : file->banks) {
    if (bank.samples.size() != channels || bank.loadedSamples() > bank.samplesPerChannel) std::abort();
    for (const auto& slot : bank.samples) {
      if (slot.size() != bank.loadedSamples()) std::abort();
      for (std::uint16_t count : slot)
        if (count > file->fullScale) std::abort();
    }
  }
  return 0;
}
