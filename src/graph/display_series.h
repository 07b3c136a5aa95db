#pragma once
// What the graph plots: at most 2,048 values per channel slot, long records
// reduced by keeping the smallest and the largest value of each group of
// samples, with each channel's extremes and where they occur.

#include <array>
#include <cstddef>
#include <optional>

#include "common/clock.h"

namespace brevik::graph {

struct LoadedFile;

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
std::size_t decimationFactor(std::size_t count);

// Image form: converts the shown range of the loaded samples into the series.
// Allocates nothing.
void computeDisplayValues(LoadedFile& file, DisplaySeries& series);

// The time of plotted point j: the start of the shown range plus j * F
// samples. Nothing when the file's First stamp could not be read.
std::optional<DateTime> pointTime(const LoadedFile& file, const DisplaySeries& series, std::size_t point);

}  // namespace brevik::graph
