#include "common/logger_memory.h"

#include <gtest/gtest.h>

namespace brevik::memory {
namespace {

TEST(LoggerMemory, EveryResolutionOnOneBankAndOnFourBanks) {
  // The figures the logger is known by: a bank ends at 0x8000 (10 bit:
  // 0x7FFA), lines carry 96 or 75 bytes, and model '6' has four banks.
  struct Row {
    int code; char model; int bits; int fullScale; int banks;
    std::int32_t bankEnd; std::int32_t bankBytes; std::int32_t bankReadings; std::int32_t lineBytes;
    std::int32_t lines; std::int32_t capacity;
  };
  const Row rows[] = {
      {1, '5', 8, 255, 1, 0x8000, 32256, 32256, 96, 336, 32256},
      {2, '5', 10, 1023, 1, 0x7FFA, 32250, 25800, 75, 430, 25800},
      {3, '5', 12, 4095, 1, 0x8000, 32256, 21504, 96, 336, 21504},
      {3, '0', 12, 4095, 1, 0x8000, 32256, 21504, 96, 336, 21504},
      {1, '6', 8, 255, 4, 0x8000, 32256, 32256, 96, 1344, 129024},
      {2, '6', 10, 1023, 4, 0x7FFA, 32250, 25800, 75, 1720, 103200},
      {3, '6', 12, 4095, 4, 0x8000, 32256, 21504, 96, 1344, 86016},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.code << " " << r.model);
    const auto m = loggerMemory(r.code, r.model);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->bank.bits, r.bits);
    EXPECT_EQ(m->bank.fullScale, r.fullScale);
    EXPECT_EQ(m->banks, r.banks);
    EXPECT_EQ(kFirstDataAddress + m->bank.bankBytes, r.bankEnd);
    EXPECT_EQ(m->bank.bankBytes, r.bankBytes);
    EXPECT_EQ(m->bank.bankReadings, r.bankReadings);
    EXPECT_EQ(m->bank.lineBytes, r.lineBytes);
    EXPECT_EQ(m->lines(), r.lines);
    EXPECT_EQ(m->capacity(), r.capacity);
  }
  EXPECT_EQ(kFirstDataAddress, 0x0200);
  EXPECT_EQ(kBankBytes, 32256);
  EXPECT_FALSE(loggerMemory(0, '5'));
  EXPECT_FALSE(loggerMemory(5, '5'));  // a model digit stored in place of a resolution
}

}  // namespace
}  // namespace brevik::memory
