#include "graph/viewport_dialog_model.h"

#include <algorithm>

#include "common/bytes.h"
#include "common/cp1252.h"

namespace brevik::graph {

namespace {

bool validChannel(int channel) { return channel >= 1 && channel <= 4; }
std::size_t slotOf(int channel) { return static_cast<std::size_t>(channel - 1); }

constexpr ViewportLayout kLastViewportDouble{1, 1, 2, 0};

}  // namespace

void ViewportDialogModel::setFile(std::vector<int> channels, std::array<std::string, 4> descriptions) {
  channels_.clear();
  for (int c : channels)
    if (validChannel(c) && std::find(channels_.begin(), channels_.end(), c) == channels_.end()) channels_.push_back(c);
  std::sort(channels_.begin(), channels_.end());
  for (std::size_t k = 0; k < descriptions_.size(); ++k) descriptions_[k] = bytes::trimmedRight(descriptions[k]);
  visible_ = {true, true, true, true};
  count_ = 1;
  distribute();
}

void ViewportDialogModel::setArrangement(int viewportCount, const ViewportLayout& layout, const std::array<bool, 4>& visible) {
  visible_ = visible;
  // An arrangement that hides every channel of the file would leave the
  // dialog with nothing to show: it opens on all of them instead.
  if (visibleChannels().empty()) visible_ = {true, true, true, true};
  const int shown = static_cast<int>(visibleChannels().size());
  count_ = std::clamp(viewportCount, 1, std::max(shown, 1));
  layout_ = layout;
  int sum = 0;
  bool filled = true;
  for (int v = 0; v < kMaxViewports; ++v) {
    const int n = layout_[static_cast<std::size_t>(v)];
    if (v < count_) {
      filled = filled && n > 0;
      sum += n;
    } else if (n != 0) {
      filled = false;
    }
  }
  if (!filled || sum != shown) distribute();
}

std::vector<std::string> ViewportDialogModel::listLines() const {
  std::vector<std::string> lines;
  const std::vector<int> shown = visibleChannels();
  std::size_t next = 0;
  for (int v = 0; v < count_; ++v) {
    if (v > 0) lines.emplace_back(viewport_dialog::kSeparator);
    for (int k = 0; k < layout_[static_cast<std::size_t>(v)] && next < shown.size(); ++k, ++next) {
      const int c = shown[next];
      lines.push_back(std::to_string(c) + " " + descriptions_[slotOf(c)]);
    }
  }
  return lines;
}

std::vector<std::string> ViewportDialogModel::hiddenLines() const {
  std::vector<std::string> lines;
  for (int c : channels_)
    if (!visible_[slotOf(c)]) lines.push_back(std::to_string(c) + " " + descriptions_[slotOf(c)]);
  return lines;
}

std::string ViewportDialogModel::countLabel() const {
  return std::to_string(count_) + std::string(count_ == 1 ? " Fenétre "_cp : " Fenétres "_cp);
}

bool ViewportDialogModel::borderSpinner1Shown() const {
  const int c = static_cast<int>(visibleChannels().size());
  return (count_ == 2 && c >= 3) || (count_ == 3 && c == 4 && layout_ != kLastViewportDouble);
}

bool ViewportDialogModel::borderSpinner2Shown() const {
  return count_ == 3 && visibleChannels().size() == 4 && layout_[0] == 1;
}

bool ViewportDialogModel::hideBoxShown(int channel) const {
  return hiddenListShown() && std::find(channels_.begin(), channels_.end(), channel) != channels_.end();
}

bool ViewportDialogModel::hiddenListShown() const { return channels_.size() > 1; }

bool ViewportDialogModel::hideBoxChecked(int channel) const {
  return hideBoxShown(channel) && !visible_[slotOf(channel)];
}

void ViewportDialogModel::spinCount(bool up) {
  const int c = std::max(static_cast<int>(visibleChannels().size()), 1);
  if (up)
    count_ = count_ >= c ? 1 : count_ + 1;
  else
    count_ = count_ <= 1 ? c : count_ - 1;
  distribute();
}

void ViewportDialogModel::spinBorder1(bool up) {
  if (!borderSpinner1Shown()) return;
  std::uint8_t& first = layout_[0];
  std::uint8_t& second = layout_[1];
  if (up) {
    if (first > 1) {
      --first;
      ++second;
    }
    return;
  }
  const int most = (count_ == 2 && visibleChannels().size() == 4) ? 3 : 2;
  if (second > 1 && first < most) {
    ++first;
    --second;
  }
}

void ViewportDialogModel::spinBorder2(bool up) {
  if (!borderSpinner2Shown()) return;
  if (up && layout_ == ViewportLayout{1, 2, 1, 0}) layout_ = kLastViewportDouble;
  if (!up && layout_ == kLastViewportDouble) layout_ = {1, 2, 1, 0};
}

std::optional<Message> ViewportDialogModel::setHidden(int channel, bool hidden, bool realTime) {
  if (!hideBoxShown(channel)) return std::nullopt;
  const std::size_t slot = slotOf(channel);
  // A box set to what it already shows (the window unchecking a refused box)
  // changes nothing, and keeps the borders the user moved.
  if (visible_[slot] != hidden) return std::nullopt;
  if (hidden) {
    if (realTime) return Message{MessageKind::Information, std::string(viewport_dialog::kRealTimeHideRefusal)};
    if (visibleChannels().size() <= 1) return Message{MessageKind::Warning, std::string(viewport_dialog::kLastChannelRefusal)};
  }
  visible_[slot] = !hidden;
  distribute();
  return std::nullopt;
}

void ViewportDialogModel::showAll() {
  visible_ = {true, true, true, true};
  count_ = 1;
  distribute();
}

std::vector<int> ViewportDialogModel::visibleChannels() const {
  std::vector<int> shown;
  for (int c : channels_)
    if (visible_[slotOf(c)]) shown.push_back(c);
  return shown;
}

void ViewportDialogModel::distribute() {
  const int shown = static_cast<int>(visibleChannels().size());
  // Fewer channels than viewports leave one viewport per channel.
  count_ = std::clamp(count_, 1, std::max(shown, 1));
  layout_ = distributeChannels(count_, shown);
}

}  // namespace brevik::graph
