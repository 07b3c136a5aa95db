#pragma once
// The viewport dialog (TViewPortsDlg) without its window: the channel
// lists, the viewport count label, which spinners show and what each move
// does, the hide boxes and their refusals, "ToutVoir". The window only shows
// what this says and forwards the clicks.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"
#include "graph/viewports.h"

namespace brevik::graph {

namespace viewport_dialog {
inline constexpr std::string_view kCaption = "Config. visu.";
inline constexpr int kHelpTopic = 9;
inline constexpr std::string_view kSeparator = "--------------------------------------";
inline constexpr std::string_view kHiddenLabel = "Sans";
inline constexpr std::string_view kShowAllCaption = "ToutVoir";
inline constexpr std::string_view kRealTimeHideRefusal = "Hiding channels is not available with Real Time Graph";
inline constexpr std::string_view kLastChannelRefusal = "At least one channel must be visible.";
}  // namespace viewport_dialog

class ViewportDialogModel {
 public:
  // A file was loaded: its active channels (ascending) and the four channel
  // descriptions (trailing blanks are removed for the lists). Every channel
  // visible, every hide box unchecked, one viewport.
  void setFile(std::vector<int> channels, std::array<std::string, 4> descriptions);
  // The dialog opens on the chart's present arrangement.
  void setArrangement(int viewportCount, const ViewportLayout& layout, const std::array<bool, 4>& visible);

  // ListBox1: each visible channel as "n description", the separator line
  // between viewports. HideBox1: the hidden channels in the same form.
  std::vector<std::string> listLines() const;
  std::vector<std::string> hiddenLines() const;
  // Label1: "1 Fenétre ", "2 Fenétres ", ...
  std::string countLabel() const;

  bool borderSpinner1Shown() const;  // OvcSpinner1
  bool borderSpinner2Shown() const;  // OvcSpinner2
  // Hide1..Hide4 are shown for the file's channels; none, and neither the
  // hidden list, its label nor "ToutVoir", for a one-channel file.
  bool hideBoxShown(int channel) const;
  bool hiddenListShown() const;
  bool hideBoxChecked(int channel) const;

  void spinCount(bool up);    // OvcSpinner3
  void spinBorder1(bool up);  // OvcSpinner1
  void spinBorder2(bool up);  // OvcSpinner2
  // Hide1..Hide4 checked (hide) or unchecked (show again). A refusal comes
  // back as the message to show; the box is then unchecked again.
  std::optional<Message> setHidden(int channel, bool hidden, bool realTime);
  void showAll();  // AllBtn

  int viewportCount() const { return count_; }
  const ViewportLayout& layout() const { return layout_; }
  const std::array<bool, 4>& visible() const { return visible_; }
  std::vector<int> visibleChannels() const;

 private:
  void distribute();

  std::vector<int> channels_;
  std::array<std::string, 4> descriptions_;
  std::array<bool, 4> visible_{true, true, true, true};
  int count_ = 1;
  ViewportLayout layout_{};
};

}  // namespace brevik::graph
