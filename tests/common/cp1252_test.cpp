#include "common/cp1252.h"

#include <gtest/gtest.h>

namespace brevik {
namespace {

TEST(Cp1252, LiteralsBecomeSingleBytes) {
  constexpr std::string_view s = "à la fin de mémoire "_cp;
  EXPECT_EQ(s.size(), 20u);
  EXPECT_EQ(static_cast<unsigned char>(s[0]), 0xE0);
  EXPECT_EQ(static_cast<unsigned char>(s[13]), 0xE9);
  EXPECT_EQ("Réseau "_cp, std::string_view("R\xE9seau ", 7));
  EXPECT_EQ("°C"_cp, std::string_view("\xB0" "C", 2));
  EXPECT_EQ("€"_cp, std::string_view("\x80", 1));
  EXPECT_EQ("plain"_cp, "plain");
}

TEST(Cp1252, RoundTripsEveryDefinedByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
    all.push_back(static_cast<char>(b));
  }
  EXPECT_EQ(fromUtf8(toUtf8(all)), all);
  EXPECT_EQ(toUtf8("\xB0"), "\xC2\xB0");
  EXPECT_EQ(toUtf8("\x80"), "\xE2\x82\xAC");
}

TEST(Cp1252, UnmappableAndBrokenInputIsReplacedNotDropped) {
  EXPECT_EQ(fromUtf8("a\xE2\x88\x9E" "b"), "a?b");  // U+221E has no byte
  EXPECT_EQ(fromUtf8("a\xC3"), "a?");                // truncated sequence
  EXPECT_EQ(toUtf8("\x81"), "\xEF\xBF\xBD");         // undefined byte
}

}  // namespace
}  // namespace brevik
