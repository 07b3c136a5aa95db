// How channels are stacked into viewports: the description's legend, unit
// and fixed scale, the distribution table, the layout chosen for a file and
// the labels and scales of each viewport.

#include <gtest/gtest.h>

#include "graph/viewports.h"
#include "protocol/vocabulary.h"

namespace brevik::graph {
namespace {

TEST(Viewports, LegendAndFixedScaleOfDescriptions) {
  struct Case {
    std::string_view description;
    std::string_view legend;
    std::optional<FixedScale> scale;
  };
  const Case cases[] = {
      {"Boiler~0,250;Deg F", "Boiler", FixedScale{"0,250", 0.0, 250.0}},
      {"Air    ;Deg C      ", "Air", std::nullopt},
      {"a;b~1,2", "a", FixedScale{"1,2", 1.0, 2.0}},
      {"~-10.5,40", "", FixedScale{"-10.5,40", -10.5, 40.0}},
      {"x~ 0 , 9 ;Deg F", "x", FixedScale{" 0 , 9 ", 0.0, 9.0}},  // ";De" goes with its unit
      {"x~0,12345678901", "x", FixedScale{"0,12345678", 0.0, 12345678.0}},  // ten characters only
      {"x~,50", "x", std::nullopt},       // the comma must not come first
      {"x~1,", "x", std::nullopt},        // shorter than three
      {"x~a,b", "x", std::nullopt},       // not numbers
      {"x~1e999,2", "x", std::nullopt},   // out of range
      {"x~1,2,3", "x", std::nullopt},     // "2,3" is no number
      {"x~5;abcdefgh,9", "x", std::nullopt},  // the unit cut takes the comma
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(legendOf(c.description), c.legend);
    EXPECT_EQ(fixedScaleOf(c.description), c.scale);
  }
}

TEST(Viewports, DistributionTable) {
  struct Case {
    int viewports, channels;
    ViewportLayout layout;
  };
  const Case cases[] = {
      {1, 1, {1}}, {1, 2, {2}}, {1, 3, {3}}, {1, 4, {4}}, {2, 2, {1, 1}}, {2, 3, {2, 1}}, {2, 4, {2, 2}},
      {3, 3, {1, 1, 1}}, {3, 4, {2, 1, 1}}, {4, 4, {1, 1, 1, 1}},
      {4, 2, {1, 1}}, {0, 3, {3}}, {2, 0, {}},  // more viewports than channels, out of range
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "V=" << c.viewports << " C=" << c.channels);
    EXPECT_EQ(distributeChannels(c.viewports, c.channels), c.layout);
  }
}

datafile::LoadedFile imageFile(std::string_view types, std::uint16_t inputModes = 0) {
  datafile::LoadedFile f;
  for (std::size_t k = 0; k < types.size(); ++k) {
    f.channels.push_back(static_cast<int>(k + 1));
    f.header.typeCodes[k] = types[k];
  }
  f.header.inputModes = inputModes;
  return f;
}

datafile::LoadedFile tableFile(std::array<std::string, 4> units) {
  datafile::LoadedFile f;
  f.tableForm = true;
  f.channels = {1, 2, 3, 4};
  f.unitTexts = units;
  return f;
}

std::uint16_t allTempRh() {
  std::uint16_t word = 0;
  for (int c = 1; c <= 4; ++c) word = protocol::withInputMode(word, c, protocol::kInputModeTempRh);
  return word;
}

TEST(Viewports, LayoutChosenForAFile) {
  struct Case {
    std::string_view name;
    datafile::LoadedFile file;
    std::vector<int> visible;
    ViewportChoice choice;
  };
  const Case cases[] = {
      {"three thermistors share one", imageFile("ABP"), {1, 2, 3}, {1, {3, 0, 0, 0}}},
      {"a linear channel splits them", imageFile("ABP3"), {1, 2, 3, 4}, {4, {1, 1, 1, 1}}},
      {"only visible channels count", imageFile("ABP3"), {1, 2, 3}, {1, {3, 0, 0, 0}}},
      {"thermocouples are no temperature here", imageFile("Ak"), {1, 2}, {2, {1, 1, 0, 0}}},
      {"image humidity pairs", imageFile("AB33", allTempRh()), {1, 2, 3, 4}, {2, {2, 2, 0, 0}}},
      {"table RH pair", tableFile({"Deg F", "Deg F", "% RH", "% RH"}), {1, 2, 3, 4}, {2, {2, 2, 0, 0}}},
      {"table dew point pair", tableFile({"Deg C", "Deg C", "Dew P", "Dew P"}), {1, 2, 3, 4}, {2, {2, 2, 0, 0}}},
      {"table mixed humidity", tableFile({"Deg C", "Deg C", "% RH", "Wet B"}), {1, 2, 3, 4}, {4, {1, 1, 1, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(chooseViewports(c.file, c.visible), c.choice);
  }
}

TEST(Viewports, AxisLabelsAndScalesPerViewport) {
  datafile::LoadedFile f = imageFile("3333");
  f.header.descriptions = {"Boiler~0,250;Deg F", "Return~0,250;Deg F", "Flue~0,900;Deg F", "Air"};
  f.unitTexts = {"Deg F", "Deg F", "Deg F", "Deg C"};
  struct Case {
    std::vector<int> visible;
    int count;
    ViewportLayout layout;
    std::vector<std::vector<int>> channels;
    std::vector<std::string> labels;
    std::vector<std::optional<double>> maxima;  // of the fixed scale, if any
  };
  const Case cases[] = {
      {{1, 2}, 1, {2, 0, 0, 0}, {{1, 2}}, {"Deg F"}, {250.0}},  // the same scale text
      {{1, 3}, 1, {2, 0, 0, 0}, {{1, 3}}, {"Deg F"}, {std::nullopt}},
      {{1, 4}, 1, {2, 0, 0, 0}, {{1, 4}}, {""}, {std::nullopt}},
      {{1, 2, 3, 4}, 3, {1, 1, 2, 0}, {{1}, {2}, {3, 4}}, {"Deg F", "Deg F", ""}, {250.0, 250.0, std::nullopt}},
      // A layout that does not add up to the visible channels is dealt anew.
      {{1, 2, 3}, 2, {1, 1, 0, 0}, {{1, 2}, {3}}, {"Deg F", "Deg F"}, {250.0, 900.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case with " << c.visible.size() << " channels, V=" << c.count);
    const auto plans = planViewports(f, c.visible, c.count, c.layout);
    ASSERT_EQ(plans.size(), c.channels.size());
    for (std::size_t v = 0; v < plans.size(); ++v) {
      EXPECT_EQ(plans[v].channels, c.channels[v]);
      EXPECT_EQ(plans[v].axisLabel, c.labels[v]);
      EXPECT_EQ(plans[v].scale ? std::optional(plans[v].scale->maximum) : std::nullopt, c.maxima[v]);
    }
  }
}

}  // namespace
}  // namespace brevik::graph
