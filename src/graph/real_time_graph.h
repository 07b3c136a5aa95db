#pragma once
// The real-time graph's data as plain values: the readings kept (at most
// 999, the oldest 200 dropped when full), the rolling six-minute window
// that moves on by 30 seconds, each channel's Y range (the extremes x 0.99
// and x 1.01), and the zoom of the live chart. Times are chart seconds.

#include <array>
#include <cstddef>
#include <vector>

namespace brevik::graph {

namespace real_time {
inline constexpr std::size_t kPoints = 1000;      // the chart's point count
inline constexpr std::size_t kFullAt = 999;       // a reading finding this many drops the oldest
inline constexpr std::size_t kDropped = 200;
inline constexpr double kWindowSeconds = 6.0 * 60.0;
inline constexpr double kStepSeconds = 30.0;      // how far the window end moves on
inline constexpr double kLowFactor = 0.99;
inline constexpr double kHighFactor = 1.01;
}  // namespace real_time

// A channel's Y range.
struct YRange {
  double minimum = 0.0;
  double maximum = 0.0;
  friend bool operator==(const YRange&, const YRange&) = default;
};

class RealTimeGraph {
 public:
  // A new graph for these channels (active channel numbers, ascending) at
  // `now`: no points, the window [now, now + 6 min].
  void start(std::vector<int> channels, double now);

  // What an appended reading asks of the chart.
  struct Appended {
    bool first = false;   // the first point: rebuild the chart and show the window
    bool dropped = false; // the oldest points were dropped
  };
  // One reading (a value per channel, in channel order) at time t.
  Appended append(const std::vector<float>& values, double t);

  // The chart's drag-zoom box. A box reaching `now` widens the window (it
  // scrolls on with the new width); a box wholly in the past freezes the
  // chart. Either way the Y ranges follow the points inside the box.
  void zoomIn(double from, double to, double now);
  // Back to the live window: Y ranges over every point, the X maximum moved
  // to now + 30 s when now has reached it, the freeze lifted.
  void undoZoom(double now);
  // The viewport dialog's OK: each channel's Y range from all its points.
  void resetYRanges();

  const std::vector<int>& channels() const { return channels_; }
  std::size_t count() const { return times_.size(); }
  const std::vector<double>& times() const { return times_; }
  // Slot j holds channels()[j].
  const std::vector<double>& values(std::size_t slot) const { return values_[slot]; }
  YRange range(std::size_t slot) const { return ranges_[slot]; }
  // A channel has a range once it has shown a finite value.
  bool hasRange(std::size_t slot) const { return ranged_[slot]; }
  // The X axis: ManualMinX and ManualMaxX (the zoom range while zoomed).
  double xMin() const;
  double xMax() const;
  double windowStart() const { return windowStart_; }
  double windowEnd() const { return windowEnd_; }
  double windowWidth() const { return windowWidth_; }
  bool zoomed() const { return zoomed_; }
  bool frozen() const { return frozen_; }

 private:
  void dropOldest(const std::vector<float>& current);
  void moveWindowPast(double t);
  void widen(std::size_t slot, double value);
  // Each channel's range from its points first..last (inclusive).
  void setRangesOver(std::size_t first, std::size_t last);

  std::vector<int> channels_;
  std::vector<double> times_;
  std::array<std::vector<double>, 4> values_;
  std::array<YRange, 4> ranges_{};
  std::array<bool, 4> ranged_{};
  double windowStart_ = 0.0;
  double windowEnd_ = 0.0;
  double windowWidth_ = real_time::kWindowSeconds;
  double manualMinX_ = 0.0;
  double manualMaxX_ = 0.0;
  double zoomFrom_ = 0.0;
  double zoomTo_ = 0.0;
  bool zoomed_ = false;
  bool frozen_ = false;
};

}  // namespace brevik::graph
