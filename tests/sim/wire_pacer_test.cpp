#include "sim/wire_pacer.h"

#include <gtest/gtest.h>

namespace brevik::sim {
namespace {

TEST(WirePacer, ARunTakesTenBitsPerByteWithoutRoundingDrift) {
  struct Case {
    std::uint32_t baud;
    std::uint64_t bytes;
    Micros expectedEnd;  // ceil(bytes * 10 / baud) in microseconds
  };
  const Case cases[] = {
      {57600, 576, 100'000},         // 173.6 us a byte; a rounded 174 us would give 100.224 ms
      {57600, 20'000, 3'472'223},    // a whole download's worth
      {9600, 960, 1'000'000},
      {1200, 1, 8'334},
  };
  for (const Case& c : cases) {
    WirePacer pacer;
    Micros end = 0;
    for (std::uint64_t i = 0; i < c.bytes; ++i) end = pacer.next(1'000, c.baud);
    EXPECT_EQ(end - 1'000, c.expectedEnd) << c.baud << " baud, " << c.bytes << " bytes";
    EXPECT_EQ(pacer.freeAt(), end);
  }
}

TEST(WirePacer, AByteHandedOverAfterAPauseStartsWhenItIsHandedOver) {
  WirePacer pacer;
  EXPECT_EQ(pacer.next(0, 9600), 1042);
  EXPECT_EQ(pacer.next(0, 9600), 2084) << "queued behind the first";
  EXPECT_EQ(pacer.next(10'000, 9600), 11'042) << "the wire was idle in between";
  EXPECT_EQ(pacer.next(10'500, 57600), 11'042 + 174) << "a new baud starts after the busy wire";
}

TEST(WirePacer, RestartForgetsTheTimeTheLastRunRanOver) {
  WirePacer pacer;
  for (int i = 0; i < 10; ++i) pacer.next(0, 1200);
  pacer.restartAt(5'000);
  EXPECT_EQ(pacer.freeAt(), 5'000);
  EXPECT_EQ(pacer.next(pacer.freeAt(), 1200), 5'000 + 8'334);
  EXPECT_EQ(pacer.next(pacer.freeAt(), 1200), 5'000 + 16'667);
}

}  // namespace
}  // namespace brevik::sim
