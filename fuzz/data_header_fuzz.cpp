// Fuzz target: the configuration in a data file's header, and everything
// done with it. Seeds: fuzz/corpus/data_header_fuzz.

#include <cstddef>
#include <cstdint>

#include "setup/configuration_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  brevik::setup::exerciseDataHeaderBytes(data, size);
  return 0;
}
