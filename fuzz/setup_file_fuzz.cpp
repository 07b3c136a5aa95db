// Fuzz target: a .SET file as read from disk, and everything done with it.
// Seeds: fuzz/corpus/setup_file_fuzz.

#include <cstddef>
#include <cstdint>

#include "setup/configuration_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  brevik::setup::exerciseSetupFileBytes(data, size);
  return 0;
}
