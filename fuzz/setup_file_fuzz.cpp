// Fuzz target: a .SET file as read from disk, and everything done with it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "exercise_configuration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto record = brevik::setup::LoggerConfiguration::fromBytes(bytes);
  if (record) brevik::fuzzing::exerciseConfiguration(*record);
  return 0;
}
