// One libFuzzer target around one entry of fuzz/entries/: the build names
// the entry's header (BREVIK_FUZZ_HEADER) and function (BREVIK_FUZZ_ENTRY).
// The GoogleTest smoke runs call the same entries.

#include <cstddef>
#include <cstdint>

#include BREVIK_FUZZ_HEADER

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  brevik::fuzzing::BREVIK_FUZZ_ENTRY(data, size);
  return 0;
}
