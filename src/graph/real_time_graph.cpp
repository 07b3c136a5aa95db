#include "graph/real_time_graph.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace brevik::graph {

namespace {

using real_time::kDropped;
using real_time::kFullAt;
using real_time::kHighFactor;
using real_time::kLowFactor;
using real_time::kStepSeconds;

constexpr std::size_t kMaxChannels = 4;

// The room below and above a value. x 0.99 of a negative value lies above
// it, so below zero the factors change places: a range always holds the
// values it was made from, and its minimum never passes its maximum.
double lowered(double value) { return value < 0.0 ? value * kHighFactor : value * kLowFactor; }
double raised(double value) { return value < 0.0 ? value * kLowFactor : value * kHighFactor; }

double valueAt(const std::vector<float>& values, std::size_t slot) {
  return slot < values.size() ? static_cast<double>(values[slot]) : 0.0;
}

}  // namespace

void RealTimeGraph::start(std::vector<int> channels, double now) {
  if (channels.size() > kMaxChannels) channels.resize(kMaxChannels);
  channels_ = std::move(channels);
  times_.clear();
  for (auto& v : values_) v.clear();
  ranges_ = {};
  ranged_ = {};
  windowWidth_ = real_time::kWindowSeconds;
  windowStart_ = now;
  windowEnd_ = now + windowWidth_;
  manualMinX_ = now;
  manualMaxX_ = windowEnd_;
  zoomFrom_ = windowStart_;
  zoomTo_ = windowEnd_;
  zoomed_ = false;
  frozen_ = false;
}

RealTimeGraph::Appended RealTimeGraph::append(const std::vector<float>& values, double t) {
  Appended appended;
  // A reading without a usable time has no place on the X axis.
  if (!std::isfinite(t)) return appended;
  if (times_.size() >= kFullAt) {
    dropOldest(values);
    appended.dropped = true;
  }
  appended.first = times_.empty();
  times_.push_back(t);
  for (std::size_t slot = 0; slot < channels_.size(); ++slot) values_[slot].push_back(valueAt(values, slot));
  moveWindowPast(t);
  for (std::size_t slot = 0; slot < channels_.size(); ++slot) widen(slot, values_[slot].back());
  return appended;
}

void RealTimeGraph::dropOldest(const std::vector<float>& current) {
  const auto dropped = static_cast<std::ptrdiff_t>(std::min(kDropped, times_.size()));
  times_.erase(times_.begin(), times_.begin() + dropped);
  for (std::size_t slot = 0; slot < channels_.size(); ++slot) {
    std::vector<double>& v = values_[slot];
    v.erase(v.begin(), v.begin() + std::min<std::ptrdiff_t>(dropped, static_cast<std::ptrdiff_t>(v.size())));
    // The range starts again from the reading coming in and widens over the
    // points kept, so the dropped extremes no longer stretch the axis.
    ranged_[slot] = false;
    widen(slot, valueAt(current, slot));
    for (double kept : v) widen(slot, kept);
  }
  if (!times_.empty()) manualMinX_ = times_.front();
}

void RealTimeGraph::moveWindowPast(double t) {
  if (!(t > windowEnd_)) return;
  // One step of 30 s as a rule; a reading that arrives later than that
  // (a pause of the link) moves the end as far as it takes to be shown.
  windowEnd_ += std::ceil((t - windowEnd_) / kStepSeconds) * kStepSeconds;
  windowStart_ = windowEnd_ - windowWidth_;
  // A frozen chart keeps showing the past range the user chose.
  if (!frozen_) {
    zoomFrom_ = windowStart_;
    zoomTo_ = windowEnd_;
  }
  manualMinX_ = times_.front();
  manualMaxX_ = windowEnd_;
}

void RealTimeGraph::widen(std::size_t slot, double value) {
  if (!std::isfinite(value)) return;
  YRange& r = ranges_[slot];
  if (!ranged_[slot]) {
    r = {lowered(value), raised(value)};
    ranged_[slot] = true;
    return;
  }
  if (value < r.minimum) r.minimum = lowered(value);
  if (value > r.maximum) r.maximum = raised(value);
}

void RealTimeGraph::setRangesOver(std::size_t first, std::size_t last) {
  if (times_.empty()) return;
  last = std::min(last, times_.size() - 1);
  if (first > last) std::swap(first, last);
  for (std::size_t slot = 0; slot < channels_.size(); ++slot) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (std::size_t j = first; j <= last; ++j) {
      const double v = values_[slot][j];
      if (!std::isfinite(v)) continue;
      low = std::min(low, v);
      high = std::max(high, v);
    }
    // Nothing finite to go by: the range stays as it was.
    if (!(low <= high)) continue;
    ranges_[slot] = {lowered(low), raised(high)};
    ranged_[slot] = true;
  }
}

void RealTimeGraph::zoomIn(double from, double to, double now) {
  if (!std::isfinite(from) || !std::isfinite(to)) return;
  if (from > to) std::swap(from, to);
  if (to >= now) {
    // The box reaches the present: it becomes the live window, a little
    // wider so the newest point is not on the edge.
    windowWidth_ = (to - from) * 1.1;
    windowStart_ = from;
    windowEnd_ = windowStart_ + windowWidth_;
    zoomFrom_ = windowStart_;
    zoomTo_ = windowEnd_;
    frozen_ = false;
  } else {
    zoomFrom_ = from;
    zoomTo_ = to;
    frozen_ = true;
  }
  const auto atOrAfter = [this](double x) {
    return static_cast<std::size_t>(std::find_if(times_.begin(), times_.end(), [x](double t) { return t >= x; }) -
                                    times_.begin());
  };
  const std::size_t first = atOrAfter(from);
  if (first < times_.size()) setRangesOver(first, std::min(atOrAfter(to), times_.size() - 1));
  zoomed_ = true;
}

void RealTimeGraph::undoZoom(double now) {
  resetYRanges();
  if (now >= manualMaxX_) manualMaxX_ = now + kStepSeconds;
  zoomed_ = false;
  frozen_ = false;
}

void RealTimeGraph::resetYRanges() {
  if (!times_.empty()) setRangesOver(0, times_.size() - 1);
}

double RealTimeGraph::xMin() const { return zoomed_ ? zoomFrom_ : manualMinX_; }
double RealTimeGraph::xMax() const { return zoomed_ ? zoomTo_ : manualMaxX_; }

}  // namespace brevik::graph
