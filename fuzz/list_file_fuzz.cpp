// Fuzz target: a phone book or modem list file as a text editor may have
// left it. Whatever it holds, reading never fails, and what is written
// from it reads back as the same records with nothing skipped.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "phonebook/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevik::phonebook;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ParsedListFile first = parseListFile(bytes, "Number");
  const ParsedListFile second = parseListFile(renderListFile(first.content, "Number"), "Number");
  if (second.content.records != first.content.records || !second.skipped.empty()) __builtin_trap();
  return 0;
}
