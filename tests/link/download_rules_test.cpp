// Block requests, good lines, and how a download walks the banks.

#include "link/download_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/framing.h"

namespace brevik::link {
namespace {

std::string checksummed(std::string text) {
  unsigned sum = 0;
  for (const char c : text) sum += static_cast<unsigned char>(c);
  return text + hexByte(static_cast<std::uint8_t>((256 - sum % 256) % 256));
}

struct Walk {
  std::vector<std::string> requests;  // "DA0200", ...
  std::vector<char> endLines;         // letters of the "Z" lines, in order
};

// Runs a download of only good lines to its end.
Walk walk(DownloadCursor c) {
  Walk w;
  for (int guard = 0; guard < 5000; ++guard) {
    w.requests.push_back(blockRequestBody(c.bank, c.address));
    const auto step = c.afterGoodLine();
    if (step.endLine) w.endLines.push_back(*step.endLine);
    if (step.complete) break;
  }
  return w;
}

TEST(BlockRequest, FramedForOldAndNewFirmware) {
  EXPECT_EQ(blockRequestBody('A', 0x0200), "DA0200");
  EXPECT_EQ(blockRequestBody('C', 0x7FA0), "DC7FA0");
  EXPECT_EQ(frameCommand(blockRequestBody('A', 0x0200), 'R', 0), "DA0200B9");
  EXPECT_EQ(frameCommand(blockRequestBody('A', 0x0200), 'S', 0), "DA02000059");
}

TEST(DownloadWalk, PointerAt0x0800TakesSixteenRequests) {
  const Walk w = walk(DownloadCursor::begin(1, false, false, 0x0800, 'A'));
  ASSERT_EQ(w.requests.size(), 16u);
  EXPECT_EQ(w.requests.front(), "DA0200");
  EXPECT_EQ(w.requests[1], "DA0260");
  EXPECT_EQ(w.requests.back(), "DA07A0");
  EXPECT_TRUE(w.endLines.empty());
}

TEST(DownloadWalk, OneBankStopsAtOrPastThePointer) {
  // 10-bit lines are 75 bytes: 0x0200 + 2 * 75 = 0x0296 passes 0x0250.
  EXPECT_EQ(walk(DownloadCursor::begin(2, false, false, 0x0250, 'A')).requests.size(), 2u);
  // A full memory: every line of the bank, and no further.
  EXPECT_EQ(walk(DownloadCursor::begin(1, false, false, 0x8000, 'A')).requests.size(), 336u);
  EXPECT_EQ(walk(DownloadCursor::begin(2, false, false, 0x7FFA, 'A')).requests.size(), 430u);
}

TEST(DownloadWalk, OneBankWrapModeGoesRoundFromThePointer) {
  for (const int resolution : {1, 2, 3}) {
    for (const std::uint16_t pointer : {std::uint16_t{0x0200}, std::uint16_t{0x0201}, std::uint16_t{0x4321}, std::uint16_t{0x7FF9}}) {
      const Walk w = walk(DownloadCursor::begin(resolution, false, true, pointer, 'A'));
      EXPECT_EQ(w.requests.size(), resolution == 2 ? 430u : 336u) << resolution << " " << pointer;
      EXPECT_EQ(w.requests.front(), blockRequestBody('A', pointer));
      EXPECT_TRUE(w.endLines.empty());
    }
  }
  // The address passes the bank's end and goes on from 0x0200.
  const Walk w = walk(DownloadCursor::begin(1, false, true, 0x7FD0, 'A'));
  EXPECT_EQ(w.requests[1], "DA0230");
}

TEST(DownloadWalk, FourBanksOutsideWrapModeCloseEachFullBank) {
  const Walk w = walk(DownloadCursor::begin(1, true, false, 0x0800, 'C'));
  EXPECT_EQ(w.requests.size(), 2u * 336u + 16u);
  EXPECT_EQ(w.endLines, (std::vector<char>{'A', 'B'}));
  EXPECT_EQ(w.requests[336], "DB0200");
  EXPECT_EQ(w.requests[672], "DC0200");
  EXPECT_EQ(w.requests.back(), "DC07A0");

  const Walk tenBit = walk(DownloadCursor::begin(2, true, false, 0x7FFA, 'D'));
  EXPECT_EQ(tenBit.requests.size(), 1720u);
  EXPECT_EQ(tenBit.endLines, (std::vector<char>{'A', 'B', 'C'}));
}

TEST(DownloadWalk, FourBanksInWrapModeReadTheRingOnceFromThePointer) {
  for (const char last : {'A', 'B', 'D'}) {
    const Walk w = walk(DownloadCursor::begin(1, true, true, 0x1000, last));
    ASSERT_EQ(w.requests.size(), 1344u) << last;
    EXPECT_EQ(w.requests.front(), blockRequestBody(last, 0x1000));
    // Each image ends where the pointer stands in the next bank; the "Z" line
    // carries that bank's letter.
    std::vector<char> expected;
    char b = last;
    for (int i = 0; i < 3; ++i) expected.push_back(b = nextBankLetter(b));
    EXPECT_EQ(w.endLines, expected) << last;
    EXPECT_EQ(w.requests.back(), blockRequestBody(last, 0x1000 - 96));
  }
  const Walk atStart = walk(DownloadCursor::begin(2, true, true, 0x0200, 'B'));
  EXPECT_EQ(atStart.requests.size(), 1720u);
  EXPECT_EQ(atStart.endLines, (std::vector<char>{'C', 'D', 'A'}));
}

TEST(DownloadWalk, LineLimitEndsAWalkWithANonsensePointer) {
  EXPECT_EQ(walk(DownloadCursor::begin(1, false, true, 0xFFFF, 'A')).requests.size(), 336u);
  const Walk fourBanks = walk(DownloadCursor::begin(3, true, false, 0xFFFF, 'B'));
  EXPECT_EQ(fourBanks.requests.size(), 1344u);
  EXPECT_EQ(fourBanks.endLines, (std::vector<char>{'A', 'B', 'C', 'D'}));
}

TEST(GoodLine, ChecksumLengthAndDuplicateRules) {
  const std::string full = checksummed(std::string(192, '5'));
  const std::string other = checksummed(std::string(190, '5') + "66");
  std::string bad = full;
  bad.back() = bad.back() == '0' ? '1' : '0';

  struct Case {
    std::string line;
    int resolution;
    std::string previous;
    bool good;
  };
  const std::vector<Case> cases = {
      {full, 1, "", true},
      {bad, 1, "", false},
      {full, 1, full, true},   // 8 and 10 bit: a repeated line is data
      {full, 2, full, true},
      {full, 3, full, false},  // 12 bit: a repeated line is sent twice
      {other, 3, full, true},
      {checksummed(std::string(156, '7')), 3, "", false},  // 158 characters
      {checksummed(std::string(158, '7')), 3, "", true},   // 160 characters
      {checksummed(std::string(156, '7')), 1, "", true},
      {"", 1, "", false},
      {"0", 3, "", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(isGoodLine(c.line, c.resolution, c.previous), c.good)
        << c.line.size() << " chars, resolution " << c.resolution;
}

TEST(DownloadNames, CsvNameAndFileWithoutDirectory) {
  EXPECT_EQ(fileNameWithoutDirectory("C:\\data\\site1a.qx1"), "site1a.qx1");
  EXPECT_EQ(fileNameWithoutDirectory("/home/k/site1a.qx1"), "site1a.qx1");
  EXPECT_EQ(fileNameWithoutDirectory("site1a.qx1"), "site1a.qx1");
  EXPECT_EQ(autoExportCsvName("C:\\data\\site1a.qx1"), "site1a.csv");
  EXPECT_EQ(autoExportCsvName("ab"), ".csv");
}

}  // namespace
}  // namespace brevik::link
