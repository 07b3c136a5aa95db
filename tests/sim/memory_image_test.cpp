// The virtual logger's memory: recording into one or four banks, the phase
// byte it leaves, and the memory lines it answers with.

#include "sim/memory_image.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/framing.h"
#include "twin_script.h"

namespace brevik::sim {
namespace {

using testing::frame;
using testing::june3;
using testing::ScriptedPc;

std::uint16_t counting(std::size_t i) { return static_cast<std::uint16_t>(i); }

// A twin woken and switched to its own baud, ready for commands.
void wake(ScriptedPc& pc) {
  pc.burst(0x55, 250, 2, 1200);
  pc.send("\x80", pc.twin.baud());
  pc.wait(ticksToMicros(4));
  pc.take();
}

// The reply line to a command, without its CR.
std::string askLine(ScriptedPc& pc, std::string_view body) {
  std::string reply = pc.ask(frame(body, 0), pc.twin.baud());
  if (!reply.empty() && reply.back() == '\r') reply.pop_back();
  return reply;
}

TEST(Recording, EightBitOutsideWrapModeFillsFromTheStart) {
  const Recording r = recordMemory(8, '5', 'A', 0x0210, false, counting);
  ASSERT_EQ(r.image.size(), kImageBankBytes);
  EXPECT_EQ(r.held.size(), 16u);
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(static_cast<std::uint8_t>(r.image[i]), i);
  EXPECT_EQ(r.image[16], '\0');
  EXPECT_EQ(r.phaseByte, 0);
}

TEST(Recording, PackedGroupsAndTheUnfinishedGroupsTail) {
  // 12 bit: samples 0x123 and 0x456 make one group 12 45 63.
  const auto sample12 = [](std::size_t i) { return static_cast<std::uint16_t>(i % 2 ? 0x456 : 0x123); };
  const Recording full = recordMemory(12, '5', 'A', 0x0203, false, sample12);
  EXPECT_EQ(full.image.substr(0, 3), std::string("\x12\x45\x63", 3));
  EXPECT_EQ(full.phaseByte, 0);

  // One high byte written: its low bits wait in the tail, whose lowest bit
  // says one sample of the group is there.
  const Recording cut = recordMemory(12, '5', 'A', 0x0204, false, sample12);
  EXPECT_EQ(static_cast<std::uint8_t>(cut.image[3]), 0x12);
  EXPECT_EQ(cut.phaseByte, 0x03);
  EXPECT_EQ(cut.held.back(), 0x123);

  // 10 bit, three of four samples written: the first keeps the phase 3 as
  // its low bits.
  const Recording ten = recordMemory(10, '5', 'A', 0x0200 + 5 + 3, false,
                                     [](std::size_t) { return std::uint16_t{0x3FE}; });
  EXPECT_EQ(ten.phaseByte & 3, 3);
  EXPECT_EQ(ten.held.size(), 7u);
  EXPECT_EQ(ten.held[4], 0x3FF);
  EXPECT_EQ(ten.held[5], 0x3FE);
}

TEST(Recording, WrapModeHoldsTheLastRingFullOfSamples) {
  for (const char model : {'5', '6'}) {
    const Recording r = recordMemory(8, model, 'B', 0x0300, true, counting);
    const std::size_t ring = model == '6' ? 4 * 32256u : 32256u;
    ASSERT_EQ(r.held.size(), ring) << model;
    // The oldest sample sits at the pointer; the newest just before it.
    const std::size_t bank = model == '6' ? 1 : 0;
    const std::size_t at = bank * kImageBankBytes + 0x100;
    EXPECT_EQ(static_cast<std::uint8_t>(r.image[at]), r.held.front() & 0xFF) << model;
    EXPECT_EQ(static_cast<std::uint8_t>(r.image[at - 1]), r.held.back() & 0xFF) << model;
  }
}

TEST(MemoryLines, LinesRunOnRoundTheBankOrIntoTheNext) {
  std::string image(4 * kImageBankBytes, '\0');
  for (std::size_t b = 0; b < 4; ++b) image[b * kImageBankBytes] = static_cast<char>(0xA0 + b);
  image[32255] = '\x11';            // the last byte of bank A
  image[kImageBankBytes + 32249] = '\x22';  // the last byte bank B uses at 10 bit

  const auto oneBank = memoryLineDigits(image, 8, '5', 'A', 0x7FFF);
  ASSERT_TRUE(oneBank);
  EXPECT_EQ(oneBank->size(), 192u);
  EXPECT_EQ(oneBank->substr(0, 4), "11A0") << "round to the start of the one bank";

  const auto fourBanks = memoryLineDigits(image, 8, '6', 'A', 0x7FFF);
  EXPECT_EQ(fourBanks->substr(0, 4), "11A1") << "on into bank B";
  EXPECT_EQ(memoryLineDigits(image, 8, '6', 'D', 0x7FFF)->substr(2, 2), "A0") << "D runs on into A";

  const auto tenBit = memoryLineDigits(image, 10, '6', 'B', 0x7FF9);
  EXPECT_EQ(tenBit->size(), 150u);
  EXPECT_EQ(tenBit->substr(0, 4), "22A2");

  EXPECT_FALSE(memoryLineDigits(image, 8, '5', 'A', 0x01FF));
}

TEST(TwinMemory, AnswersBlockRequestsWithAChecksummedLine) {
  LoggerProfile p;
  p.resolution = 8;
  p.pointer = 0x0800;
  ScriptedPc pc(p);
  wake(pc);
  const std::string line = askLine(pc, "DA0260");
  ASSERT_EQ(line.size(), 194u);
  EXPECT_TRUE(checksumMatches(line));
  EXPECT_EQ(line.substr(0, 192), *memoryLineDigits(pc.twin.state().memoryImage, 8, '5', 'A', 0x0260));
  EXPECT_EQ(askLine(pc, "DA0100"), "") << "no answer below the data memory";
}

TEST(Recording, AGivenTailIsThePhaseByteAndTheUnfinishedGroupsLowBits) {
  const Recording r = recordMemory(10, '5', 'A', 0x0200 + 5 + 2, true,
                                   [](std::size_t) { return std::uint16_t{0x3FF}; }, 0x1E);
  EXPECT_EQ(r.phaseByte, 0x1E);
  ASSERT_EQ(r.held.size(), 25800u);
  EXPECT_EQ(r.held[r.held.size() - 2], 0x3FE);  // low bits 2
  EXPECT_EQ(r.held.back(), 0x3FF);              // low bits 3
}

TEST(TwinMemory, GeneratedMemoryKeepsTheProfilesPhaseByte) {
  LoggerProfile p;
  p.resolution = 10;
  p.model = '6';
  p.flags = 0x09;
  p.pointer = 0x0200 + 5 * 40 + 2;
  p.phase = 0x0A;
  const LoggerState s = LoggerState::fromProfile(p, june3());
  EXPECT_EQ(s.phase, 0x0A);
  EXPECT_EQ(s.memoryImage.size(), 4 * kImageBankBytes);
}

TEST(TwinMemory, ShortTwelveBitLinesAreCheckedButTooShort) {
  LoggerProfile p;
  p.resolution = 12;
  p.faultRates[static_cast<std::size_t>(FaultKind::Short)] = 1.0;
  ScriptedPc pc(p);
  wake(pc);
  const std::string line = askLine(pc, "DA0200");
  EXPECT_EQ(line.size(), 158u);
  EXPECT_TRUE(checksumMatches(line));
}

}  // namespace
}  // namespace brevik::sim
