// Fuzz target: the configuration in a data file's header, and everything
// done with it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "exercise_configuration.h"
#include "setup/header_configuration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const brevik::FixedClock clock(brevik::DateTime{2024, 3, 5, 10, 20, 30, 0, 2});
  auto record = brevik::setup::configurationFromDataHeader(
      text, brevik::setup::LoggerConfiguration::builtInDefault(clock));
  if (record) brevik::fuzzing::exerciseConfiguration(*record);
  return 0;
}
