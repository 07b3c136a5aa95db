// Round trips: what the virtual logger's memory holds comes out of the data
// file written by a download, sample for sample, for every resolution,
// one to four channels, every wrap phase and both bank counts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "download_rig.h"
#include "datafile/data_file_reader.h"

namespace brevik::testing {
namespace {

struct Geometry {
  int resolution;
  char model;
  std::uint8_t channels;
  bool wrapped;
  std::uint16_t pointer;
  char bank;
};

std::string describe(const Geometry& g) {
  return std::to_string(g.resolution) + " bit, model " + g.model + ", channels " +
         std::to_string(g.channels) + (g.wrapped ? ", wrapped" : "") + ", pointer " +
         std::to_string(g.pointer) + ", bank " + g.bank;
}

int activeChannels(std::uint8_t bits) {
  int n = 0;
  for (int c = 0; c < 4; ++c) n += (bits >> c) & 1;
  return n;
}

// Varied counts over the whole scale, so no two memory lines are alike.
std::uint16_t scatteredSample(std::size_t i, int resolution) {
  const std::uint32_t full = resolution == 12 ? 4095 : resolution == 10 ? 1023 : 255;
  return static_cast<std::uint16_t>((static_cast<std::uint32_t>(i) * 2654435761u >> 9) % (full + 1));
}

void expectRoundTrip(const Geometry& g) {
  SCOPED_TRACE(describe(g));
  const sim::Recording rec =
      sim::recordMemory(g.resolution, g.model, g.bank, g.pointer, g.wrapped,
                        [&](std::size_t i) { return scatteredSample(i, g.resolution); });
  sim::LoggerProfile p = rigProfile(g.resolution, g.model);
  p.channels = g.channels;
  p.flags = g.wrapped ? 0x09 : 0x00;
  p.pointer = g.pointer;
  p.bank = g.bank;
  p.memoryImage = rec.image;
  p.phase = rec.phaseByte;

  DownloadRig rig(p);
  rig.receive();
  ASSERT_FALSE(rig.prompter.messages.empty());
  ASSERT_EQ(rig.prompter.messages.back().buttons, Buttons::YesNo) << rig.prompter.messages.back().text;

  auto file = datafile::readLoggerDataFile(rig.dataFile());
  ASSERT_TRUE(file) << file.error().message;
  EXPECT_EQ(file->header.memoryPointer, g.pointer);
  EXPECT_EQ(file->header.phaseByte, rec.phaseByte);

  const std::size_t n = static_cast<std::size_t>(activeChannels(g.channels));
  const int banks = sim::memoryBankCount(g.model);
  const std::size_t bankSamples = static_cast<std::size_t>(datafile::bankSamples(file->resolutionCode));
  const std::size_t sections =
      g.wrapped ? static_cast<std::size_t>(banks)
                : (banks == 1 ? 1u : static_cast<std::size_t>(sim::bankIndex(g.bank)) + 1u);
  ASSERT_EQ(file->banks.size(), sections);
  ASSERT_EQ(rig.observer.blocks, rig.memoryRequests().size());

  char letter = g.wrapped ? g.bank : 'A';
  for (std::size_t b = 0; b < sections; ++b) {
    const datafile::DataBank& bank = file->banks[b];
    EXPECT_EQ(bank.letter, letter);
    letter = link::nextBankLetter(letter);
    const std::size_t from = b * bankSamples;
    const std::size_t to = std::min(rec.held.size(), from + bankSamples);
    const std::size_t perChannel = (to - from) / n;
    ASSERT_EQ(bank.samples.size(), n);
    for (std::size_t j = 0; j < n; ++j) {
      std::vector<std::uint16_t> expected(perChannel);
      for (std::size_t k = 0; k < perChannel; ++k) expected[k] = rec.held[from + k * n + j];
      ASSERT_EQ(bank.samples[j], expected) << "bank " << b << ", slot " << j;
    }
  }
}

constexpr std::uint8_t kChannelSets[] = {0x01, 0x06, 0x0B, 0x0F};

TEST(DownloadRoundTrip, OneBankOutsideWrapModeEveryResolutionAndChannelCount) {
  for (const int resolution : {8, 10, 12})
    for (const std::uint8_t channels : kChannelSets)
      expectRoundTrip({resolution, '5', channels, false, 0x0200 + 960, 'A'});
  // A full memory.
  expectRoundTrip({8, '5', 0x0F, false, 0x8000, 'A'});
}

TEST(DownloadRoundTrip, OneBankInWrapModeEveryPhase) {
  int turn = 0;
  for (const int resolution : {8, 10, 12}) {
    const int phases = resolution == 10 ? 4 : resolution == 12 ? 2 : 1;
    const std::uint16_t groupBytes = resolution == 10 ? 5 : resolution == 12 ? 3 : 1;
    for (int phase = 0; phase < phases; ++phase) {
      const auto pointer = static_cast<std::uint16_t>(0x0200 + groupBytes * 3000 + phase);
      expectRoundTrip({resolution, '5', kChannelSets[turn++ % 4], true, pointer, 'A'});
    }
  }
  // The ring cut right at the start of the memory.
  expectRoundTrip({12, '5', 0x03, true, 0x0200, 'A'});
}

TEST(DownloadRoundTrip, FourBanksInAndOutOfWrapMode) {
  expectRoundTrip({8, '6', 0x0F, true, 0x4000, 'C'});
  expectRoundTrip({10, '6', 0x07, true, 0x0200 + 5 * 1000 + 3, 'B'});
  expectRoundTrip({12, '6', 0x05, true, 0x0200 + 3 * 777 + 1, 'D'});
  expectRoundTrip({12, '6', 0x01, true, 0x0200, 'A'});
  expectRoundTrip({8, '6', 0x03, false, 0x0200 + 96 * 7, 'C'});
  expectRoundTrip({10, '6', 0x0F, false, 0x0200 + 75 * 20, 'B'});
  expectRoundTrip({12, '6', 0x0E, false, 0x0200 + 96 * 3, 'D'});
}

// Noise ahead of the first status reply: the reply is asked for again, and
// the answer to the first request, still on its way, must not be taken for
// the answer to the resend (nor its successor for the first memory line).
TEST(DownloadRoundTrip, ALateStatusReplyBehindNoiseDoesNotShiftTheDownload) {
  const sim::Recording rec = sim::recordMemory(10, '5', 'A', 0x0200 + 5 * 40, false,
                                               [](std::size_t i) { return scatteredSample(i, 10); });
  sim::LoggerProfile p = rigProfile(10);
  p.pointer = 0x0200 + 5 * 40;
  p.memoryImage = rec.image;
  p.phase = rec.phaseByte;

  DownloadRig clean(p);
  clean.receive();
  DownloadRig noisy(p);
  noisy.twin.setFaults(faultRates({{sim::FaultKind::Garbage, 0.5}}), 4);
  noisy.faultsDuringDownload = faultRates({});
  noisy.receive();

  EXPECT_EQ(noisy.ctx().badLineTotal, 0u);
  EXPECT_EQ(noisy.ctx().timeoutTotal, 0u);
  std::vector<std::string> expectedFrames = clean.frames();
  expectedFrames.insert(expectedFrames.begin(), expectedFrames.front());  // the status resend
  EXPECT_EQ(noisy.frames(), expectedFrames);
  ASSERT_FALSE(noisy.prompter.messages.empty());
  EXPECT_EQ(noisy.prompter.messages.back().text, clean.prompter.messages.back().text);
  // The same samples (the logger's clock moved on meanwhile: the header differs).
  const auto noisyFile = datafile::readLoggerDataFile(noisy.dataFile());
  const auto cleanFile = datafile::readLoggerDataFile(clean.dataFile());
  ASSERT_TRUE(noisyFile && cleanFile);
  ASSERT_EQ(noisyFile->banks.size(), 1u);
  ASSERT_EQ(cleanFile->banks.size(), 1u);
  EXPECT_EQ(noisyFile->banks[0].samples, cleanFile->banks[0].samples);
  EXPECT_EQ(noisyFile->header.memoryPointer, cleanFile->header.memoryPointer);
}

}  // namespace
}  // namespace brevik::testing
