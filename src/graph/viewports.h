#pragma once
// How the graph stacks its channels: up to four viewports, horizontal bands
// each with its own Y axis, scale and unit label. The channel descriptions
// may carry a fixed Y scale and a unit after the description proper:
//
//   description "~" minimum "," maximum ";" unit     (both parts optional)
//
// Texts are Windows-1252 bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datafile/loaded_file.h"

namespace brevik::graph {

inline constexpr int kMaxViewports = 4;

// Channels per viewport, in channel order (the ViewportLayout setting);
// entries past the viewport count are 0.
using ViewportLayout = std::array<std::uint8_t, 4>;

// The legend of a channel: its description up to the first ";" or "~",
// trailing blanks removed.
std::string legendOf(std::string_view description);

// A fixed Y scale written in a description: the text after "~", first 10
// characters, with a ";" and the 8 characters after it removed; used only
// when at least 3 characters long with a "," at its second character or
// later. `text` is that scale text (what viewports compare), the numbers
// those before and after the comma.
struct FixedScale {
  std::string text;
  double minimum = 0.0;
  double maximum = 0.0;
  friend bool operator==(const FixedScale&, const FixedScale&) = default;
};
std::optional<FixedScale> fixedScaleOf(std::string_view description);

// Temperature for the layout: image form, type code A, B, C or P; table
// form, a unit text holding "Deg".
bool isTemperatureChannel(const datafile::LoadedFile& file, int channel);

// The distribution table: channels per viewport for V viewports and C
// visible channels (V > C gives C viewports of one channel).
ViewportLayout distributeChannels(int viewportCount, int visibleCount);

// Choose layout: V = 1, one viewport per channel when any visible channel
// is not a temperature, two for the humidity pairs; the channels then
// distributed over them.
struct ViewportChoice {
  int count = 1;
  ViewportLayout layout{};
  friend bool operator==(const ViewportChoice&, const ViewportChoice&) = default;
};
ViewportChoice chooseViewports(const datafile::LoadedFile& file, const std::vector<int>& visibleChannels);

// One viewport as the chart shows it: its channels (channel numbers), the
// Y-axis label (the first channel's unit text, empty when the others
// differ) and the fixed scale all its channels share, if any.
struct ViewportPlan {
  std::vector<int> channels;
  std::string axisLabel;
  std::optional<FixedScale> scale;
};

// Lays the visible channels out as `layout` says (taken in channel order;
// a layout that does not add up to the visible count is distributed anew).
std::vector<ViewportPlan> planViewports(const datafile::LoadedFile& file, const std::vector<int>& visibleChannels,
                                        int viewportCount, const ViewportLayout& layout);

}  // namespace brevik::graph
