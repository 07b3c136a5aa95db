// Channel descriptions come from files and loggers: the legend and the fixed
// scale are read from any bytes without failing, and what they return keeps
// to its rule.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "graph/viewports.h"

namespace brevik::graph {
namespace {

TEST(DescriptionParsersFuzzSmoke, RandomAndMutatedDescriptionsAreReadSafely) {
  const std::string seeds[] = {"Boiler~0,250;Deg F", "~-1e3,1e3;x", "Air ;Deg C", "x~ 1 , 2 ;abcdefgh"};
  using namespace std::string_literals;
  const std::string alphabet = "~;,.-+eE0123456789 aZ\xE9\x00\xFF"s;  // a NUL byte too
  std::mt19937 rng(2026);
  for (int round = 0; round < 2000; ++round) {
    std::string text = seeds[rng() % std::size(seeds)];
    const int edits = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < edits; ++i) {
      const std::size_t at = text.empty() ? 0 : rng() % text.size();
      const char c = round % 2 ? static_cast<char>(rng()) : alphabet[rng() % alphabet.size()];
      switch (rng() % 3) {
        case 0: if (!text.empty()) text[at] = c; break;
        case 1: text.erase(at, rng() % 4); break;
        default: text.insert(at, std::string(1 + rng() % 3, c)); break;
      }
    }
    SCOPED_TRACE(text);
    const std::string legend = legendOf(text);
    EXPECT_EQ(legend.find_first_of(";~"), std::string::npos);
    EXPECT_EQ(text.compare(0, legend.size(), legend), 0);
    if (const auto scale = fixedScaleOf(text)) {
      EXPECT_GE(scale->text.size(), 3u);
      EXPECT_LE(scale->text.size(), 10u);
      EXPECT_GE(scale->text.find(','), 1u);
      EXPECT_TRUE(std::isfinite(scale->minimum) && std::isfinite(scale->maximum));
    }
  }
}

}  // namespace
}  // namespace brevik::graph
