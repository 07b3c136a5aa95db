#pragma once
// What the graph plots: at most 2,048 values per channel slot, long records
// reduced by keeping the smallest and the largest value of each group of
// samples, with each channel's extremes and where they occur.

#include <array>
#include <cstddef>


namespace brevik::datafile {

inline constexpr std::size_t kMaxPointsPerChannel = 2048;

struct DisplaySeries {
  // Slot k's points begin at entry kMaxPointsPerChannel * k.
  std::array<float, 4 * kMaxPointsPerChannel> values{};
  std::size_t points = 0;  // P
  std::size_t factor = 1;  // F: samples (or rows) per plotted point
  // Per slot: the largest and smallest plotted value and the sample (or row)
  // index, counted from the file's first, where each occurs.
  std::array<float, 4> largest{};
  std::array<float, 4> smallest{};
  std::array<std::size_t, 4> largestIndex{};
  std::array<std::size_t, 4> smallestIndex{};

  float value(std::size_t slot, std::size_t point) const { return values[slot * kMaxPointsPerChannel + point]; }
  float& at(std::size_t slot, std::size_t point) { return values[slot * kMaxPointsPerChannel + point]; }

  void clear() { *this = DisplaySeries{}; }
};

// F = ceil(count / 2048), at least 1.
inline std::size_t decimationFactor(std::size_t count) {
  const std::size_t groups = (count + kMaxPointsPerChannel - 1) / kMaxPointsPerChannel;
  return groups > 0 ? groups : 1;
}

}  // namespace brevik::datafile
