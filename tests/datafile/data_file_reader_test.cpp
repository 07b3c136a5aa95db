#include "datafile/data_file_reader.h"

#include <gtest/gtest.h>

#include "support/data_file_builder.h"
#include "protocol/vocabulary.h"
#include "support/temp_dir.h"

namespace brevik::datafile {
namespace {

using protocol::kResolution10Bit;
using protocol::kResolution12Bit;
using protocol::kResolution8Bit;
using fixtures::buildFile;
using fixtures::sampleHeader;

int fullScaleOf(int res) { return protocol::resolutionFacts(res, '0')->fullScale; }

LoggerDataFile load(const std::string& content) {
  auto file = parseLoggerDataFile(content, "t.qx1");
  EXPECT_TRUE(file.ok()) << file.error().message;
  return file.ok() ? std::move(file).value() : LoggerDataFile{};
}

// Slot j of the bank must hold stream samples k * n + j, from `first` on.
void expectSplit(const DataBank& bank, const std::vector<std::uint16_t>& stream, std::size_t first = 0) {
  const std::size_t n = bank.samples.size();
  for (std::size_t j = 0; j < n; ++j)
    for (std::size_t k = 0; k < bank.samples[j].size(); ++k)
      ASSERT_EQ(bank.samples[j][k], stream[first + k * n + j]) << "slot " << j << " sample " << k;
}

TEST(DataFileReader, TwelveBitFileWithAThousandBytesHas667Samples) {
  const auto stream = fixtures::rampSamples(704, 4095);
  const auto bytes = fixtures::pack(kResolution12Bit, stream);  // eleven full lines
  for (int n = 1; n <= 4; ++n) {
    DataFileHeaderFields h = sampleHeader(kResolution12Bit, n);
    h.memoryPointer = 512 + 1000;
    const LoggerDataFile f = load(buildFile(h, {bytes}));
    ASSERT_EQ(f.banks.size(), 1u);
    EXPECT_EQ(f.banks[0].samplesPerChannel, 667u / static_cast<unsigned>(n)) << n;
    EXPECT_EQ(f.banks[0].loadedSamples(), 667u / static_cast<unsigned>(n));
    EXPECT_EQ(f.channels.size(), static_cast<std::size_t>(n));
    expectSplit(f.banks[0], stream);
  }
}

TEST(DataFileReader, EveryResolutionSplitsOneToFourChannels) {
  for (int res : {kResolution8Bit, kResolution10Bit, kResolution12Bit}) {
    const auto stream = fixtures::rampSamples(960, fullScaleOf(res), 3);
    const auto bytes = fixtures::pack(res, stream);
    for (int n = 1; n <= 4; ++n) {
      DataFileHeaderFields h = sampleHeader(res, n);
      h.channelBits = n == 2 ? 0x0A : static_cast<std::uint8_t>((1 << n) - 1);  // channels 2 and 4
      h.memoryPointer = static_cast<std::int32_t>(512 + bytes.size());
      const LoggerDataFile f = load(buildFile(h, {bytes}));
      EXPECT_EQ(f.resolutionCode, res);
      EXPECT_EQ(f.fullScale, fullScaleOf(res));
      ASSERT_EQ(f.banks.size(), 1u);
      EXPECT_EQ(f.banks[0].loadedSamples(), 960u / static_cast<unsigned>(n)) << res << "/" << n;
      if (n == 2) {
        EXPECT_EQ(f.channels, (std::vector<int>{2, 4}));
      }
      expectSplit(f.banks[0], stream);
    }
  }
}

TEST(DataFileReader, PointerBoundsTheLastBank) {
  DataFileHeaderFields h = sampleHeader(kResolution8Bit, 2);
  h.memoryPointer = 512;
  EXPECT_EQ(load(buildFile(h, {})).banks.at(0).samplesPerChannel, 0u);
  h.memoryPointer = 40000;  // capped at a full memory
  EXPECT_EQ(load(buildFile(h, {})).banks.at(0).samplesPerChannel, 32256u / 2);
  h.memoryPointer = 300;  // below the first data address
  EXPECT_EQ(load(buildFile(h, {})).banks.at(0).samplesPerChannel, 0u);
}

TEST(DataFileReader, StopOnChannelOneOpenDropsTheLastSample) {
  const auto bytes = fixtures::pack(kResolution8Bit, fixtures::rampSamples(96, 255));
  DataFileHeaderFields h = sampleHeader(kResolution8Bit, 2);
  h.memoryPointer = 512 + 90;
  h.channelBits = 0x23;
  EXPECT_EQ(load(buildFile(h, {bytes})).banks[0].loadedSamples(), 44u);
  h.statusFlags = kFileFlagStopOnOpen;  // the logger reported the stop itself
  EXPECT_EQ(load(buildFile(h, {bytes})).banks[0].loadedSamples(), 45u);
  h.statusFlags = 0;
  h.memoryPointer = 512 + 3;  // one sample per channel stays
  EXPECT_EQ(load(buildFile(h, {bytes})).banks[0].loadedSamples(), 1u);
}

TEST(DataFileReader, BanksAToDBeforeTheLastAreFullMemories) {
  for (int res : {kResolution8Bit, kResolution10Bit, kResolution12Bit}) {
    const std::size_t full = static_cast<std::size_t>(bankSamples(res));
    const auto stream = fixtures::rampSamples(full * 4, fullScaleOf(res));
    std::vector<std::vector<std::uint8_t>> sections;
    for (std::size_t b = 0; b < 4; ++b)
      sections.push_back(fixtures::pack(res, std::vector<std::uint16_t>(stream.begin() + static_cast<std::ptrdiff_t>(b * full),
                                                                   stream.begin() + static_cast<std::ptrdiff_t>((b + 1) * full))));
    DataFileHeaderFields h = sampleHeader(res, 3);
    h.modelCode = '6';
    h.lastBank = 'D';
    h.memoryPointer = 512 + 960;
    sections[3].resize(960);
    const LoggerDataFile f = load(buildFile(h, sections));
    ASSERT_EQ(f.banks.size(), 4u);
    for (std::size_t b = 0; b < 4; ++b) {
      EXPECT_EQ(f.banks[b].letter, static_cast<char>('A' + b));
      EXPECT_EQ(f.banks[b].samplesPerChannel, b < 3 ? full / 3 : packedSampleCount(res, 960) / 3) << res << b;
      EXPECT_EQ(f.banks[b].loadedSamples(), f.banks[b].samplesPerChannel);
      expectSplit(f.banks[b], stream, b * full);
    }
    // Another model reads one bank, whatever the letter says.
    h.modelCode = '5';
    EXPECT_EQ(load(buildFile(h, sections)).banks.size(), 1u);
  }
}

// A wrapped one-bank file. The logger's tail byte doubles as the phase byte,
// so the newest cut-group sample is chosen to make its low bits the phase.
struct WrapCase {
  int res;
  int phase;
};

TEST(DataFileReader, WrapModeEveryPhaseWithTheTailFromTheHeader) {
  for (const WrapCase c : {WrapCase{kResolution8Bit, 0}, WrapCase{kResolution12Bit, 0}, WrapCase{kResolution12Bit, 1},
                           WrapCase{kResolution10Bit, 0}, WrapCase{kResolution10Bit, 1}, WrapCase{kResolution10Bit, 2},
                           WrapCase{kResolution10Bit, 3}}) {
    const std::size_t m = static_cast<std::size_t>(bankSamples(c.res));
    auto t = fixtures::rampSamples(m, fullScaleOf(c.res), 11);
    const unsigned lowMask = c.res == kResolution12Bit ? 1 : 3;
    if (c.phase > 0) t[m - static_cast<std::size_t>(c.phase)] = static_cast<std::uint16_t>((t[m - static_cast<std::size_t>(c.phase)] & ~lowMask) | static_cast<unsigned>(c.phase));
    const fixtures::Ring ring = fixtures::ringOf(c.res, t, 1234, c.phase);
    DataFileHeaderFields h = sampleHeader(c.res, 2);
    h.statusFlags = kFileFlagWrapped | 0x01;
    h.memoryPointer = 4000;  // the file does not depend on it in wrap mode
    h.phaseByte = c.phase > 0 ? ring.tail : 0;
    const LoggerDataFile f = load(buildFile(h, {ring.image}, false));
    ASSERT_TRUE(f.wrapMode);
    EXPECT_EQ(f.phase, c.phase);
    ASSERT_EQ(f.banks.size(), 1u);
    EXPECT_EQ(f.banks[0].samplesPerChannel, m / 2);
    EXPECT_EQ(f.banks[0].loadedSamples(), m / 2) << c.res << "/" << c.phase;
    expectSplit(f.banks[0], t);

    // The tail bits the last samples use beyond the phase bits: changing
    // them changes the last samples and nothing else. (10 bit, phase 1 has
    // none: its one tail sample's low bits are the phase.)
    const unsigned spare = c.res == kResolution12Bit ? 0x0Eu : ((1u << (2 * c.phase)) - 1) & ~3u;
    if (c.phase > 0 && spare != 0) {
      h.phaseByte = static_cast<std::uint8_t>(h.phaseByte ^ spare);
      const LoggerDataFile g = load(buildFile(h, {ring.image}, false));
      auto changed = g.banks[0].samples;
      EXPECT_NE(changed, f.banks[0].samples) << c.res << "/" << c.phase;
      const std::size_t lastK = m / 2 - 1;
      changed[0][lastK] = f.banks[0].samples[0][lastK];
      changed[1][lastK] = f.banks[0].samples[1][lastK];
      EXPECT_EQ(changed, f.banks[0].samples) << c.res << "/" << c.phase;
    }
  }
}

TEST(DataFileReader, FourBankWrapTakesEachTailFromTheNextBanksFirstLine) {
  for (const WrapCase c : {WrapCase{kResolution12Bit, 1}, WrapCase{kResolution10Bit, 1}, WrapCase{kResolution10Bit, 3},
                           WrapCase{kResolution10Bit, 0}}) {
    const std::size_t m = static_cast<std::size_t>(bankSamples(c.res));
    const std::size_t b = static_cast<std::size_t>(bankBytes(c.res));
    auto t = fixtures::rampSamples(4 * m, fullScaleOf(c.res), 2);
    const unsigned lowMask = c.res == kResolution12Bit ? 1 : 3;
    const std::size_t newest = 4 * m - static_cast<std::size_t>(c.phase);
    if (c.phase > 0) t[newest] = static_cast<std::uint16_t>((t[newest] & ~lowMask) | static_cast<unsigned>(c.phase));
    // The pointer lies in bank B (the second), 100 groups in.
    const std::size_t groupsPerBank = m / groupSamples(c.res);
    const fixtures::Ring ring = fixtures::ringOf(c.res, t, groupsPerBank + 100, c.phase);
    std::vector<std::vector<std::uint8_t>> spans;
    for (std::size_t i = 0; i < 4; ++i)
      spans.emplace_back(ring.image.begin() + static_cast<std::ptrdiff_t>(i * b),
                         ring.image.begin() + static_cast<std::ptrdiff_t>((i + 1) * b));
    DataFileHeaderFields h = sampleHeader(c.res, 3);
    h.modelCode = '6';
    h.lastBank = 'B';
    h.statusFlags = kFileFlagWrapped | 0x01;
    h.phaseByte = c.phase > 0 ? ring.tail : 0;
    const LoggerDataFile f = load(buildFile(h, spans, false));
    ASSERT_EQ(f.banks.size(), 4u);
    const std::string letters = {f.banks[0].letter, f.banks[1].letter, f.banks[2].letter, f.banks[3].letter};
    EXPECT_EQ(letters, "BCDA");
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(f.banks[i].loadedSamples(), m / 3);
      expectSplit(f.banks[i], t, i * m);
    }
    if (c.phase > 0) {
      const int index = lowBitsByteIndex(c.res, c.phase);
      EXPECT_EQ(f.banks[0].tailByte, spans[1][static_cast<std::size_t>(index)]);
      EXPECT_EQ(f.banks[3].tailByte, h.phaseByte);
    }
  }
}

TEST(DataFileReader, DataLinesAreReadWithOrWithoutChecksumInEitherCase) {
  const auto stream = fixtures::rampSamples(128, 4095);
  const auto bytes = fixtures::pack(kResolution12Bit, stream);  // two lines
  DataFileHeaderFields h = sampleHeader(kResolution12Bit, 1);
  h.memoryPointer = 512 + 192;
  const std::string header = formatDataFileHeader(h);
  auto lines = fixtures::hexLines(bytes, 96, true);
  const std::string withSums = header + lines[0] + "\r\n" + lines[1] + "\r\nZA\r\n";
  const std::string without = header + lines[0].substr(0, 192) + "\r\n" + lines[1].substr(0, 192) + "\nZA\n";
  const LoggerDataFile a = load(withSums);
  const LoggerDataFile b = load(without);
  ASSERT_EQ(a.banks.size(), 1u);
  EXPECT_EQ(a.banks[0].samples, b.banks[0].samples);
  expectSplit(a.banks[0], stream);
}

TEST(DataFileReader, EmptyLinesAreSkippedAt8BitAndEndPackedData) {
  const auto bytes = fixtures::pack(kResolution8Bit, fixtures::rampSamples(192, 255));
  DataFileHeaderFields h = sampleHeader(kResolution8Bit, 1);
  h.memoryPointer = 512 + 192;
  auto lines = fixtures::hexLines(bytes, 96);
  EXPECT_EQ(load(formatDataFileHeader(h) + lines[0] + "\r\n\r\n" + lines[1] + "\r\n").banks[0].loadedSamples(), 192u);

  DataFileHeaderFields p = sampleHeader(kResolution12Bit, 1);
  p.memoryPointer = 512 + 192;
  lines = fixtures::hexLines(fixtures::pack(kResolution12Bit, fixtures::rampSamples(128, 4095)), 96);
  EXPECT_EQ(load(formatDataFileHeader(p) + lines[0] + "\r\n\r\n" + lines[1] + "\r\n").banks[0].loadedSamples(), 64u);
}

TEST(DataFileReader, OneCharacterTypeLineFileLoadsFromLineFourteen) {
  const auto bytes = fixtures::pack(kResolution8Bit, fixtures::rampSamples(96, 255));
  const std::string content = "C\r\nTue  3-Jun-2003  9:05:00\r\n05040310061203\r\nOld\r\nWed  4-Jun-2003 10:01:02\r\n"
                              "a\r\nb\r\nc\r\nd\r\n0\r\n71\r\n15\r\n608\r\n" +
                              fixtures::hexLines(bytes, 96)[0] + "\r\nZA\r\n";
  const LoggerDataFile f = load(content);
  EXPECT_EQ(f.typeLineForm, TypeLineForm::SingleCode);
  EXPECT_EQ(f.header.referenceOhms, 10000);
  EXPECT_EQ(f.header.typeCodes, (std::array<char, 4>{'C', 'C', 'C', 'C'}));
  EXPECT_EQ(f.header.last, "Mon 10-Jun-2003  3:04:05");
  ASSERT_EQ(f.banks.size(), 1u);
  EXPECT_EQ(f.banks[0].loadedSamples(), 24u);
  EXPECT_EQ(f.banks[0].samples[3][0], bytes[3]);
  EXPECT_FALSE(f.pcTime.has_value());
  ASSERT_TRUE(f.transferredTime.has_value());
  EXPECT_EQ(f.transferredTime->second, 2);
}

TEST(DataFileReader, TransferLineOfA24HourFileYieldsThePcTime) {
  DataFileHeaderFields h = sampleHeader(kResolution8Bit, 1);
  const LoggerDataFile f = load(buildFile(h, {}));
  ASSERT_TRUE(f.pcTime.has_value());
  EXPECT_EQ(f.pcTime->second, 5);
  EXPECT_EQ(f.header.pcTime, "Wed  4-Jun-2003 10:01:05");
  EXPECT_TRUE(f.stampWarnings.empty());
}

TEST(DataFileReader, FailuresLoadNothingAndSayWhy) {
  testing::TempDir dir;
  auto missing = readLoggerDataFile(dir / "none.qx1");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().message, "File: " + (dir / "none.qx1").string() + " not found");
  EXPECT_EQ(missing.error().kind, ErrorKind::NotFound);

  DataFileHeaderFields h = sampleHeader(kResolution8Bit, 1);
  h.channelBits = 0x20;
  auto noChannel = parseLoggerDataFile(buildFile(h, {}), "f.qx1");
  ASSERT_FALSE(noChannel.ok());
  EXPECT_EQ(noChannel.error().message, "Bad file format(0): f.qx1");

  h = sampleHeader(kResolution8Bit, 1);
  h.last = "00002510061203";
  auto badDate = parseLoggerDataFile(buildFile(h, {}), "f.qx1");
  ASSERT_FALSE(badDate.ok());
  EXPECT_EQ(badDate.error().message, "Bad date format f.qx1 00002510061203 14");
}

TEST(DataFileReader, RetriesTheBareNameInTheProgramDirectory) {
  testing::TempDir dir;
  const DataFileHeaderFields h = sampleHeader(kResolution8Bit, 1);
  dir.write("site1a.qx1", buildFile(h, {}));
  auto found = readLoggerDataFile(dir / "elsewhere" / "site1a.qx1", dir.path());
  ASSERT_TRUE(found.ok()) << found.error().message;
  EXPECT_EQ(found->header.session.substr(0, 11), "Well4;siteB");
}

TEST(DataFileReader, ChannelSlotsStartWhereTheLoaderExpects) {
  EXPECT_EQ(channelSlotStart(1, 0), 0u);
  EXPECT_EQ(channelSlotStart(2, 1), 16384u);
  EXPECT_EQ(channelSlotStart(3, 1), 10922u);
  EXPECT_EQ(channelSlotStart(3, 2), 21844u);
  EXPECT_EQ(channelSlotStart(4, 3), 24576u);
  // Every slot's full-memory share fits before the next slot.
  for (int res : {kResolution8Bit, kResolution10Bit, kResolution12Bit})
    for (int n = 1; n <= 4; ++n) {
      const std::size_t share = static_cast<std::size_t>(bankSamples(res)) / static_cast<std::size_t>(n);
      const std::size_t end = n == 1 ? kSlotBufferEntries : channelSlotStart(n, 1);
      EXPECT_LE(share, end) << res << "/" << n;
    }
}

}  // namespace
}  // namespace brevik::datafile
