// libFuzzer target: arbitrary bytes on the line while the exchange engine
// waits for an identification line, a status reply or reading lines.

#include <cstddef>
#include <cstdint>

#include "support/line_handling_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  (void)brevik::testing::runLineHandling(data, size);
  return 0;
}
