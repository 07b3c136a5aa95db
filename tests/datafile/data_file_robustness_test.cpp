// Damaged files never crash the reader: each is either loaded, consistent
// with itself, or refused with a message. The fuzz target (fuzz/) goes much
// further; this runs the same checks in every build.

#include <gtest/gtest.h>

#include <random>

#include "support/data_file_builder.h"
#include "datafile/data_file_reader.h"
#include "protocol/vocabulary.h"

namespace brevik::datafile {
namespace {

using protocol::kResolution10Bit;
using protocol::kResolution12Bit;
using protocol::kResolution8Bit;

void expectConsistentOrRefused(std::string_view content) {
  const auto file = parseLoggerDataFile(content, "damaged.qx1");
  if (!file.ok()) {
    EXPECT_FALSE(file.error().message.empty());
    return;
  }
  ASSERT_GE(file->channels.size(), 1u);
  ASSERT_LE(file->channels.size(), 4u);
  for (const DataBank& bank : file->banks) {
    ASSERT_EQ(bank.samples.size(), file->channels.size());
    ASSERT_LE(bank.loadedSamples(), bank.samplesPerChannel);
    for (const auto& slot : bank.samples) {
      ASSERT_EQ(slot.size(), bank.loadedSamples());
      for (std::uint16_t count : slot) ASSERT_LE(count, file->fullScale);
    }
  }
}

std::vector<std::string> validFiles() {
  std::vector<std::string> files;
  for (int res : {kResolution8Bit, kResolution10Bit, kResolution12Bit}) {
    const int fullScale = protocol::resolutionFacts(res, '0')->fullScale;
    const auto bytes = fixtures::pack(res, fixtures::rampSamples(600, fullScale));
    DataFileHeaderFields h = fixtures::sampleHeader(res, 3);
    h.memoryPointer = static_cast<std::int32_t>(512 + bytes.size());
    files.push_back(fixtures::buildFile(h, {bytes}));
    h.modelCode = '6';
    h.lastBank = 'C';
    h.statusFlags = kFileFlagWrapped;
    h.phaseByte = 0xFF;
    files.push_back(fixtures::buildFile(h, {bytes, bytes, bytes}, false));
  }
  return files;
}

TEST(DataFileRobustness, EveryTruncationIsSafe) {
  // Every cut inside the header, then a hundred through the data.
  for (const std::string& file : validFiles()) {
    const std::size_t header = formatDataFileHeader(fixtures::sampleHeader(kResolution8Bit, 1)).size();
    for (std::size_t cut = 0; cut < file.size(); cut += cut < header ? 1 : 1 + file.size() / 100)
      expectConsistentOrRefused(std::string_view(file).substr(0, cut));
  }
}

TEST(DataFileRobustness, MutatedFilesAreSafe) {
  std::mt19937 random(20030603);
  const std::string alphabet = "0123456789ABCDEFZ \r\n-:abcxyz\x00\xff";
  for (const std::string& valid : validFiles()) {
    for (int round = 0; round < 60; ++round) {
      std::string file = valid;
      const int edits = 1 + static_cast<int>(random() % 8);
      for (int e = 0; e < edits && !file.empty(); ++e) {
        const std::size_t at = random() % file.size();
        switch (random() % 3) {
          case 0: file[at] = alphabet[random() % alphabet.size()]; break;
          case 1: file.erase(at, 1 + random() % 40); break;
          default: file.insert(at, std::string(1 + random() % 5, alphabet[random() % alphabet.size()])); break;
        }
      }
      expectConsistentOrRefused(file);
    }
  }
}

TEST(DataFileRobustness, RandomBytesAreSafe) {
  std::mt19937 random(4095);
  for (int round = 0; round < 300; ++round) {
    std::string junk(random() % 2000, '\0');
    for (char& c : junk) c = static_cast<char>(random() % 256);
    expectConsistentOrRefused(junk);
  }
  // Random bytes after a valid header.
  const std::string header = formatDataFileHeader(fixtures::sampleHeader(kResolution10Bit, 2));
  for (int round = 0; round < 100; ++round) {
    std::string tail(random() % 3000, '\0');
    for (char& c : tail) c = static_cast<char>(random() % 256);
    expectConsistentOrRefused(header + tail);
  }
}

}  // namespace
}  // namespace brevik::datafile
