// libFuzzer target for the .QX2 table reader:
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DBREVIK_BUILD_FUZZ=ON -DBREVIK_BUILD_GUI=OFF
//   cmake --build build-fuzz --target qx2_reader_fuzz && build-fuzz/fuzz/qx2_reader_fuzz -max_total_time=60

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "qx2_reader_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  brevik::fuzzing::readQx2Table(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
