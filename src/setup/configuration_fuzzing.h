#pragma once
// Entry points for fuzzing the readers of set-ups that come from outside (a
// .SET file, the header of a .QX1 data file): the bytes are read, and a
// record that reads is driven through everything the program does with it
// (the setup form, its fields by name, the checks, the configuration command
// for every kind of logger). Never crashes; shared by the libFuzzer targets
// and their smoke tests.

#include <cstddef>
#include <cstdint>

namespace brevik::setup {

void exerciseSetupFileBytes(const std::uint8_t* data, std::size_t size);
void exerciseDataHeaderBytes(const std::uint8_t* data, std::size_t size);

}  // namespace brevik::setup
