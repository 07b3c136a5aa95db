#pragma once
// One channel's scaling table in memory: up to 255 rows of engineering value
// (out) and input quantity (in: ohms, thermocouple signal or raw counts),
// with the marks that tell the conversion how to use it. Rows are numbered
// from 1 as the lookup rules count them; fixed arrays keep a conversion free
// of allocations.

#include <array>
#include <cstddef>

namespace brevik::protocol {

inline constexpr int kMaxTableRows = 255;
inline constexpr int kChannelCount = 4;

struct ChannelTable {
  int count = 0;
  std::array<float, kMaxTableRows + 2> out{};  // out[1..count]
  std::array<float, kMaxTableRows + 2> in{};   // in[1..count]; in decreases with the row
  bool scaled = false;      // in holds raw counts: the raw reading is looked up directly
  bool linearKind = false;  // kind 'L': never turned into Fahrenheit

  void clear() { *this = ChannelTable{}; }
  // Appends a row; false when the table is full.
  bool addRow(float outValue, float inValue) {
    if (count >= kMaxTableRows) return false;
    ++count;
    out[static_cast<std::size_t>(count)] = outValue;
    in[static_cast<std::size_t>(count)] = inValue;
    return true;
  }
};

using ChannelTables = std::array<ChannelTable, kChannelCount>;

}  // namespace brevik::protocol
