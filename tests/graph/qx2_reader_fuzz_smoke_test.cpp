// The fuzz target's entry point on random, truncated and mutated tables:
// it must return (no crash, no trap) for every one of them.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "../../fuzz/qx2_reader_entry.h"

namespace brevik::fuzzing {
namespace {

const std::string kTable =
    "\"\r\n\r\n\"Source File: a.QX1\r\n\"ID: Site\r\n\"Ch1 lbl/scl: A\r\n\"\r\n\"\r\n\"\r\n"
    "\"Rate (mins):  0.0500000000000\r\n\"First:       Tue  3-Jun-2003  9:05:00\r\n"
    "\"Last:        Tue  3-Jun-2003  9:15:00\r\n\"\r\n\"\r\n\r\n\"\r\n\r\nDate,Time,millisecs,Ch1:Deg C,Ch2:\r\n"
    "06/03/2003,09:05:00,000,1.000,2.000\r\n06/03/2003,09:05:03,000,-1e30,nan\r\n"
    "06/03/2003,09:05:06,000,99999999999999999999999999999999999999999,7\r\n";

TEST(Qx2ReaderFuzzSmoke, TruncatedTablesAreReadSafely) {
  for (std::size_t n = 0; n <= kTable.size(); ++n) readQx2Table(std::string_view(kTable).substr(0, n));
  SUCCEED();
}

TEST(Qx2ReaderFuzzSmoke, RandomAndMutatedInputsAreReadSafely) {
  std::mt19937 rng(2026);
  for (int round = 0; round < 300; ++round) {
    std::string text = kTable;
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < edits; ++i) {
      const std::size_t at = rng() % text.size();
      switch (rng() % 3) {
        case 0: text[at] = static_cast<char>(rng()); break;
        case 1: text.erase(at, rng() % 20); break;
        default: text.insert(at, std::string(rng() % 30, static_cast<char>(rng()))); break;
      }
      if (text.empty()) text = "x";
    }
    readQx2Table(text);
    std::string noise(rng() % 400, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    readQx2Table(noise);
  }
  SUCCEED();
}

}  // namespace
}  // namespace brevik::fuzzing
