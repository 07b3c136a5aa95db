#include "datafile/sample_unpacking.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/data_file_builder.h"
#include "protocol/vocabulary.h"

namespace brevik::datafile {
namespace {

using protocol::kResolution10Bit;
using protocol::kResolution12Bit;
using protocol::kResolution8Bit;

std::vector<std::uint16_t> unpack(int res, const std::vector<std::uint8_t>& bytes, std::size_t room = 64) {
  std::vector<std::uint16_t> out(room);
  out.resize(unpackAligned(res, bytes, out));
  return out;
}

TEST(SampleUnpacking, GroupsFollowTheBitLayout) {
  // 12 bit: b0*16 + (b2 & 15), b1*16 + (b2 >> 4).
  EXPECT_EQ(unpack(kResolution12Bit, {0xAB, 0xCD, 0x7E}), (std::vector<std::uint16_t>{0xABE, 0xCD7}));
  // 10 bit: bk*4 + ((b4 >> 2k) & 3), here low bits 3, 2, 1, 0.
  EXPECT_EQ(unpack(kResolution10Bit, {0xFF, 0x01, 0x80, 0x00, 0x1B}),
            (std::vector<std::uint16_t>{0x3FF, 0x006, 0x201, 0x000}));
  EXPECT_EQ(unpack(kResolution8Bit, {0x00, 0x7F, 0xFF}), (std::vector<std::uint16_t>{0, 127, 255}));
}

TEST(SampleUnpacking, CountsRoundPartialGroupsUp) {
  EXPECT_EQ(packedSampleCount(kResolution12Bit, 1000), 667u);
  EXPECT_EQ(packedSampleCount(kResolution12Bit, 32256), 21504u);
  EXPECT_EQ(packedSampleCount(kResolution10Bit, 32250), 25800u);
  EXPECT_EQ(packedSampleCount(kResolution10Bit, 7), 6u);
  EXPECT_EQ(packedSampleCount(kResolution8Bit, 99), 99u);
  EXPECT_EQ(packedSampleCount(kResolution12Bit, 0), 0u);
  // A trailing partial group gives its high bytes with low bits 0.
  EXPECT_EQ(unpack(kResolution12Bit, {1, 2, 3, 4}), (std::vector<std::uint16_t>{0x013, 0x020, 0x040}));
}

TEST(SampleUnpacking, PackingRoundTripsEveryResolution) {
  for (int res : {kResolution8Bit, kResolution10Bit, kResolution12Bit}) {
    const int fullScale = protocol::resolutionFacts(res, '0')->fullScale;
    const auto samples = fixtures::rampSamples(400, fullScale);
    const auto bytes = fixtures::pack(res, samples);
    EXPECT_EQ(bytes.size(), samples.size() * groupBytes(res) / groupSamples(res)) << res;
    EXPECT_EQ(unpack(res, bytes, 1000), samples) << res;
  }
}

TEST(SampleUnpacking, NeverWritesPastTheOutput) {
  const std::vector<std::uint8_t> bytes(30, 0x55);
  std::vector<std::uint16_t> out(5, 0xFFFF);
  EXPECT_EQ(unpackAligned(kResolution12Bit, bytes, std::span(out).first(3)), 3u);
  EXPECT_EQ(out[3], 0xFFFF);
  EXPECT_EQ(unpackWrapped(kResolution10Bit, bytes, 2, 0, std::span(out).first(4)), 4u);
  EXPECT_EQ(out[4], 0xFFFF);
}

TEST(SampleUnpacking, WrappedImagesStartInsideTheirCutGroup) {
  struct Case { int res; int phase; };
  for (const Case c : {Case{kResolution12Bit, 0}, Case{kResolution12Bit, 1}, Case{kResolution10Bit, 0},
                       Case{kResolution10Bit, 1}, Case{kResolution10Bit, 2}, Case{kResolution10Bit, 3},
                       Case{kResolution8Bit, 0}}) {
    const int fullScale = protocol::resolutionFacts(c.res, '0')->fullScale;
    const auto t = fixtures::rampSamples(groupSamples(c.res) * 40, fullScale, 5);
    const fixtures::Ring ring = fixtures::ringOf(c.res, t, 17, c.phase);
    std::vector<std::uint16_t> out(t.size() + 8);
    out.resize(unpackWrapped(c.res, ring.image, c.phase, ring.tail, out));
    EXPECT_EQ(out, t) << "resolution " << c.res << " phase " << c.phase;
  }
}

TEST(SampleUnpacking, TenBitPhaseThreeStartsWithByteZeroAndTheTopBitsOfByteOne) {
  const std::vector<std::uint8_t> image = {0x12, 0xC0, 0, 0, 0, 0, 0};
  std::vector<std::uint16_t> out(8);
  out.resize(unpackWrapped(kResolution10Bit, image, 3, 0, out));
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out[0], 0x12 * 4 + 3);
}

TEST(SampleUnpacking, TheLastSamplesOfAWrappedImageTakeTheirLowBitsFromTheTail) {
  // 12 bit, phase 1: the image ends with one high byte; its low nibble is
  // the tail's low nibble.
  const std::vector<std::uint8_t> image = {0x10, 0x20, 0x30, 0x40, 0x00, 0x99};
  std::vector<std::uint16_t> out(8);
  out.resize(unpackWrapped(kResolution12Bit, image, 1, 0xA7, out));
  EXPECT_EQ(out, (std::vector<std::uint16_t>{0x102, 0x300, 0x400, 0x997}));
  // 10 bit, phase 2: two high bytes end the image, low bits from tail bits 0-3.
  const std::vector<std::uint8_t> tenBit = {0x01, 0x02, 0x00, 0x03, 0x04, 0x05, 0x06, 0x00, 0x07, 0x08};
  out.assign(16, 0);
  out.resize(unpackWrapped(kResolution10Bit, tenBit, 2, 0b1110, out));
  EXPECT_EQ(out, (std::vector<std::uint16_t>{0x04, 0x08, 0x0C, 0x10, 0x14, 0x18, 0x1C + 2, 0x20 + 3}));
}

TEST(SampleUnpacking, PhaseAndLowBitsPositionFollowTheResolution) {
  EXPECT_EQ(wrapPhase(kResolution10Bit, 0xFB), 3);
  EXPECT_EQ(wrapPhase(kResolution12Bit, 0xFB), 1);
  EXPECT_EQ(wrapPhase(kResolution8Bit, 0xFB), 0);
  EXPECT_EQ(lowBitsByteIndex(kResolution10Bit, 1), 3);
  EXPECT_EQ(lowBitsByteIndex(kResolution10Bit, 3), 1);
  EXPECT_EQ(lowBitsByteIndex(kResolution12Bit, 1), 1);
  EXPECT_EQ(lowBitsByteIndex(kResolution12Bit, 0), -1);
}

}  // namespace
}  // namespace brevik::datafile
