// The viewport dialog's rules without its window: lists, the count label,
// the spinners and when they show, hiding channels and "ToutVoir".

#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "graph/viewport_dialog_model.h"

namespace brevik::graph {
namespace {

namespace vd = viewport_dialog;

ViewportDialogModel fourChannels() {
  ViewportDialogModel m;
  m.setFile({1, 2, 3, 4}, {"Air     ", "Water", "Door", "Probe   "});
  return m;
}

enum class Spin { CountUp, CountDown, Border1Up, Border1Down, Border2Up, Border2Down };

void apply(ViewportDialogModel& m, Spin s) {
  switch (s) {
    case Spin::CountUp: m.spinCount(true); break;
    case Spin::CountDown: m.spinCount(false); break;
    case Spin::Border1Up: m.spinBorder1(true); break;
    case Spin::Border1Down: m.spinBorder1(false); break;
    case Spin::Border2Up: m.spinBorder2(true); break;
    case Spin::Border2Down: m.spinBorder2(false); break;
  }
}

TEST(ViewportDialogModel, SpinnersMoveTheBordersAndShowWhenTheyCan) {
  struct Step {
    Spin spin;
    int count;
    ViewportLayout layout;
    bool spinner1, spinner2;
  };
  // Four channels throughout: each step from the state the previous one left.
  const Step steps[] = {
      {Spin::CountUp, 2, {2, 2, 0, 0}, true, false},
      {Spin::Border1Down, 2, {3, 1, 0, 0}, true, false},
      {Spin::Border1Down, 2, {3, 1, 0, 0}, true, false},  // viewport 1 holds 3 at most here
      {Spin::Border1Up, 2, {2, 2, 0, 0}, true, false},
      {Spin::Border1Up, 2, {1, 3, 0, 0}, true, false},
      {Spin::Border1Up, 2, {1, 3, 0, 0}, true, false},  // viewport 1 keeps one
      {Spin::CountUp, 3, {2, 1, 1, 0}, true, false},
      {Spin::Border2Up, 3, {2, 1, 1, 0}, true, false},  // hidden: no effect
      {Spin::Border1Up, 3, {1, 2, 1, 0}, true, true},
      {Spin::Border2Up, 3, {1, 1, 2, 0}, false, true},
      {Spin::Border1Down, 3, {1, 1, 2, 0}, false, true},  // hidden: no effect
      {Spin::Border2Down, 3, {1, 2, 1, 0}, true, true},
      {Spin::Border1Down, 3, {2, 1, 1, 0}, true, false},
      {Spin::CountUp, 4, {1, 1, 1, 1}, false, false},
      {Spin::CountUp, 1, {4, 0, 0, 0}, false, false},  // wraps past C
      {Spin::CountDown, 4, {1, 1, 1, 1}, false, false},  // wraps from 1 to C
      {Spin::CountDown, 3, {2, 1, 1, 0}, true, false},
  };
  ViewportDialogModel m = fourChannels();
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(::testing::Message() << "step " << i);
    const Step& s = steps[i];
    apply(m, s.spin);
    EXPECT_EQ(m.viewportCount(), s.count);
    EXPECT_EQ(m.layout(), s.layout);
    EXPECT_EQ(m.borderSpinner1Shown(), s.spinner1);
    EXPECT_EQ(m.borderSpinner2Shown(), s.spinner2);
  }
}

TEST(ViewportDialogModel, ListsCountLabelAndHiding) {
  ViewportDialogModel m = fourChannels();
  EXPECT_EQ(m.countLabel(), "1 Fenétre "_cp);
  m.spinCount(true);
  EXPECT_EQ(m.listLines(), (std::vector<std::string>{"1 Air", "2 Water", std::string(vd::kSeparator), "3 Door", "4 Probe"}));
  EXPECT_EQ(m.countLabel(), "2 Fen\xE9tres ");
  m.spinBorder1(false);
  ASSERT_FALSE(m.setHidden(1, false, false));  // already shown: the moved border stays
  EXPECT_EQ(m.layout(), (ViewportLayout{3, 1, 0, 0}));
  ASSERT_FALSE(m.setHidden(2, true, false));  // dealt anew
  EXPECT_EQ(m.listLines(), (std::vector<std::string>{"1 Air", "3 Door", std::string(vd::kSeparator), "4 Probe"}));
  EXPECT_EQ(m.hiddenLines(), (std::vector<std::string>{"2 Water"}));
  EXPECT_TRUE(m.hideBoxChecked(2));
  m.spinBorder1(false);  // three channels: viewport 1 holds two at most
  EXPECT_EQ(m.layout(), (ViewportLayout{2, 1, 0, 0}));
  m.spinCount(true);
  EXPECT_EQ(m.layout(), (ViewportLayout{1, 1, 1, 0}));
  ASSERT_FALSE(m.setHidden(4, true, false));
  EXPECT_EQ(m.countLabel(), "2 Fenétres "_cp);  // fewer channels than viewports
  m.showAll();
  EXPECT_EQ(m.viewportCount(), 1);
  EXPECT_EQ(m.layout(), (ViewportLayout{4, 0, 0, 0}));
  EXPECT_TRUE(m.hiddenLines().empty());
}

TEST(ViewportDialogModel, HidingIsRefusedDuringRealTimeAndForTheLastChannel) {
  ViewportDialogModel m;
  m.setFile({1, 3}, {"a", "b", "c", "d"});
  EXPECT_EQ(m.setHidden(1, true, true), (Message{MessageKind::Information, std::string(vd::kRealTimeHideRefusal)}));
  EXPECT_FALSE(m.hideBoxChecked(1));
  EXPECT_EQ(m.setHidden(1, true, false), std::nullopt);
  EXPECT_EQ(m.setHidden(3, true, false), (Message{MessageKind::Warning, std::string(vd::kLastChannelRefusal)}));
  EXPECT_FALSE(m.hideBoxChecked(3));
  EXPECT_EQ(m.visibleChannels(), (std::vector<int>{3}));
  EXPECT_EQ(m.setHidden(2, true, false), std::nullopt);  // not a channel of the file
  EXPECT_TRUE(m.visible()[1]);
}

TEST(ViewportDialogModel, BoxesShownForTheFilesChannelsOnly) {
  struct Case {
    std::vector<int> channels;
    std::array<bool, 4> boxes;
  };
  const Case cases[] = {{{1, 2, 3, 4}, {true, true, true, true}}, {{2, 4}, {false, true, false, true}}, {{3}, {}}};
  for (const Case& c : cases) {
    ViewportDialogModel m;
    m.setFile(c.channels, {"a", "b", "c", "d"});
    for (int ch = 1; ch <= 4; ++ch) EXPECT_EQ(m.hideBoxShown(ch), c.boxes[static_cast<std::size_t>(ch - 1)]) << ch;
    EXPECT_EQ(m.hiddenListShown(), c.channels.size() > 1);
  }
}

TEST(ViewportDialogModel, OpensOnTheChartsArrangementWhenItFits) {
  ViewportDialogModel m = fourChannels();
  m.setArrangement(2, {1, 2, 0, 0}, {true, false, true, true});
  EXPECT_EQ(m.layout(), (ViewportLayout{1, 2, 0, 0}));
  EXPECT_TRUE(m.hideBoxChecked(2));
  m.setArrangement(3, {4, 0, 0, 0}, {false, false, false, false});
  EXPECT_EQ(m.visibleChannels(), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(m.layout(), (ViewportLayout{2, 1, 1, 0}));
}

}  // namespace
}  // namespace brevik::graph
