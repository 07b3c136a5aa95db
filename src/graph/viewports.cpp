#include "graph/viewports.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/bytes.h"
#include "protocol/vocabulary.h"

namespace brevik::graph {

namespace {

constexpr std::size_t kScaleTextWidth = 10;
constexpr std::size_t kScaleUnitCut = 8;  // characters after the ";" that go with it

bool validChannel(int channel) { return channel >= 1 && channel <= 4; }
std::size_t slotOf(int channel) { return static_cast<std::size_t>(channel - 1); }

std::string_view trimmedBlanks(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(' ');
  return s.substr(first, last - first + 1);
}

// A whole number text, blanks around it allowed; anything else (letters,
// a second sign, nothing at all, infinities) is no number.
std::optional<double> numberOf(std::string_view text) {
  const std::string_view s = trimmedBlanks(text);
  if (s.empty()) return std::nullopt;
  std::string_view digits = s;
  // from_chars takes no plus sign; one is allowed before a digit or a point.
  if (digits.front() == '+') {
    digits.remove_prefix(1);
    if (digits.empty() || digits.front() == '-' || digits.front() == '+') return std::nullopt;
  }
  double value = 0.0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string unitTextOf(const datafile::LoadedFile& file, int channel) {
  return validChannel(channel) ? file.unitTexts[slotOf(channel)] : std::string();
}

std::string descriptionOf(const datafile::LoadedFile& file, int channel) {
  return validChannel(channel) ? file.header.descriptions[slotOf(channel)] : std::string();
}

bool sameUnitPair(const datafile::LoadedFile& file, std::string_view unit) {
  return file.unitTexts[2] == unit && file.unitTexts[3] == unit;
}

bool isHumidityPairFile(const datafile::LoadedFile& file) {
  if (file.channels != std::vector<int>{1, 2, 3, 4}) return false;
  if (file.tableForm) return sameUnitPair(file, "% RH") || sameUnitPair(file, "Wet B") || sameUnitPair(file, "Dew P");
  for (int c = 1; c <= 4; ++c)
    if (protocol::inputModeOf(file.header.inputModes, c) != protocol::kInputModeTempRh) return false;
  return true;
}

// A layout fits when its first `count` viewports each hold a channel and
// together hold exactly the visible ones.
bool layoutFits(int count, const ViewportLayout& layout, int visible) {
  if (count < 1 || count > kMaxViewports) return false;
  int sum = 0;
  for (int v = 0; v < count; ++v) {
    if (layout[static_cast<std::size_t>(v)] == 0) return false;
    sum += layout[static_cast<std::size_t>(v)];
  }
  return sum == visible;
}

}  // namespace

std::string legendOf(std::string_view description) {
  return bytes::trimmedRight(description.substr(0, std::min(description.find_first_of(";~"), description.size())));
}

std::optional<FixedScale> fixedScaleOf(std::string_view description) {
  const auto tilde = description.find('~');
  if (tilde == std::string_view::npos) return std::nullopt;
  std::string text(description.substr(tilde + 1, kScaleTextWidth));
  if (const auto semicolon = text.find(';'); semicolon != std::string::npos) text.erase(semicolon, 1 + kScaleUnitCut);
  const auto comma = text.find(',');
  if (text.size() < 3 || comma == std::string::npos || comma < 1) return std::nullopt;
  const auto minimum = numberOf(std::string_view(text).substr(0, comma));
  const auto maximum = numberOf(std::string_view(text).substr(comma + 1));
  if (!minimum || !maximum) return std::nullopt;
  return FixedScale{text, *minimum, *maximum};
}

bool isTemperatureChannel(const datafile::LoadedFile& file, int channel) {
  if (!validChannel(channel)) return false;
  if (file.tableForm) return file.unitTexts[slotOf(channel)].find("Deg") != std::string::npos;
  const char type = file.header.typeCodes[slotOf(channel)];
  return type == 'A' || type == 'B' || type == 'C' || type == 'P';
}

ViewportLayout distributeChannels(int viewportCount, int visibleCount) {
  ViewportLayout layout{};
  const int channels = std::clamp(visibleCount, 0, kMaxViewports);
  if (channels == 0) return layout;
  const int count = std::clamp(viewportCount, 1, channels);
  // The earlier viewports take the extra channel: 2,1 and 2,1,1.
  for (int v = 0; v < count; ++v)
    layout[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(channels / count + (v < channels % count ? 1 : 0));
  return layout;
}

ViewportChoice chooseViewports(const datafile::LoadedFile& file, const std::vector<int>& visibleChannels) {
  const int visible = static_cast<int>(std::min<std::size_t>(visibleChannels.size(), kMaxViewports));
  int count = 1;
  for (int c : visibleChannels)
    if (!isTemperatureChannel(file, c)) count = visible;
  if (isHumidityPairFile(file)) count = 2;
  ViewportChoice choice;
  choice.count = std::clamp(count, 1, std::max(visible, 1));
  choice.layout = distributeChannels(choice.count, visible);
  return choice;
}

std::vector<ViewportPlan> planViewports(const datafile::LoadedFile& file, const std::vector<int>& visibleChannels,
                                        int viewportCount, const ViewportLayout& layout) {
  const int visible = static_cast<int>(std::min<std::size_t>(visibleChannels.size(), kMaxViewports));
  const ViewportLayout used =
      layoutFits(viewportCount, layout, visible) ? layout : distributeChannels(viewportCount, visible);

  std::vector<ViewportPlan> plans;
  std::size_t next = 0;
  for (std::uint8_t inViewport : used) {
    if (inViewport == 0) break;
    ViewportPlan plan;
    for (std::uint8_t k = 0; k < inViewport; ++k) plan.channels.push_back(visibleChannels[next++]);
    plan.axisLabel = unitTextOf(file, plan.channels.front());
    plan.scale = fixedScaleOf(descriptionOf(file, plan.channels.front()));
    for (int c : plan.channels) {
      if (unitTextOf(file, c) != plan.axisLabel) plan.axisLabel.clear();
      const auto scale = fixedScaleOf(descriptionOf(file, c));
      if (!scale || !plan.scale || scale->text != plan.scale->text) plan.scale.reset();
    }
    plans.push_back(std::move(plan));
  }
  return plans;
}

}  // namespace brevik::graph
