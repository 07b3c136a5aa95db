#include "link/framing.h"

#include <gtest/gtest.h>

#include "link/exchange_trace.h"

namespace brevik::link {
namespace {

TEST(Hex, BytesAndWordsAreUpperCaseMostSignificantFirst) {
  EXPECT_EQ(hexByte(0x5D), "5D");
  EXPECT_EQ(hexByte(0x00), "00");
  EXPECT_EQ(hexWord(0x0200), "0200");
  EXPECT_EQ(hexWord(0xBEEF), "BEEF");
}

TEST(Hex, OtherCharactersCountByTheirLowFourBits) {
  EXPECT_EQ(hexPairValue('3', '5'), 0x35);
  EXPECT_EQ(hexPairValue('F', 'A'), 0xFA);
  EXPECT_EQ(hexPairValue('5', 'd'), 0x54);  // 'd' is 0x64: low bits 4, not 13
  EXPECT_EQ(hexDigitValue('G'), 7);
  EXPECT_EQ(hexDigitValue('\0'), 0);
}

struct FrameCase {
  const char* body;
  char firmware;
  std::uint8_t address;
  const char* framed;
};

class FrameCommandTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameCommandTest, AddsAddressFromFirmwareSAndChecksum) {
  const auto& c = GetParam();
  EXPECT_EQ(frameCommand(c.body, c.firmware, c.address), c.framed);
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameCommandTest,
                         ::testing::Values(FrameCase{"C", 'q', 0, "C005D"},
                                           FrameCase{"C", 'R', 0, "CBD"},
                                           FrameCase{"C", 'S', 12, "C0C4A"},
                                           FrameCase{"C", 'A', 12, "CBD"},
                                           FrameCase{"DA0200", 'R', 0, "DA0200B9"},
                                           FrameCase{"DA0200", 'q', 0, "DA02000059"}));

TEST(FrameAddress, NetworkAddressUnlessAnsweringACall) {
  EXPECT_EQ(frameAddress(true, 12, false), 12);
  EXPECT_EQ(frameAddress(false, 12, false), 0);
  EXPECT_EQ(frameAddress(true, 12, true), 0);
}

TEST(ReplyChecksum, SumOfCodesPlusPairIsZero) {
  EXPECT_TRUE(replyChecksumOK("414235"));   // 0xCB + 0x35
  EXPECT_FALSE(replyChecksumOK("414236"));
  EXPECT_TRUE(replyChecksumOK("ABF"));
  EXPECT_FALSE(replyChecksumOK("Abf"));     // lower case is not 11 and 15
  EXPECT_TRUE(replyChecksumOK("00"));
  EXPECT_FALSE(replyChecksumOK("0"));
  EXPECT_FALSE(replyChecksumOK(""));
  EXPECT_TRUE(replyChecksumOK(frameCommand("DA0200", 'q', 7)));
}

struct BurstCase {
  std::uint32_t baud;
  bool fast;
  bool shortBurst;
  std::optional<WakeBurst> burst;
};

class WakeBurstTest : public ::testing::TestWithParam<BurstCase> {};

TEST_P(WakeBurstTest, ByteRunAndCountFollowThePortBaud) {
  const auto& c = GetParam();
  EXPECT_EQ(wakeBurst(c.baud, c.fast, c.shortBurst), c.burst) << c.baud;
}

INSTANTIATE_TEST_SUITE_P(
    Bursts, WakeBurstTest,
    ::testing::Values(BurstCase{1200, false, false, WakeBurst{0x55, 250, 2}},
                      BurstCase{2400, false, false, WakeBurst{0x99, 250, 4}},
                      BurstCase{4800, false, false, WakeBurst{0x99, 250, 8}},
                      BurstCase{9600, false, false, WakeBurst{0xF0, 250, 16}},
                      BurstCase{19200, false, false, WakeBurst{0xF0, 250, 32}},
                      BurstCase{28800, false, false, std::nullopt},
                      BurstCase{57600, false, false, std::nullopt},
                      BurstCase{1200, true, true, WakeBurst{0x55, 5, 1}},
                      BurstCase{9600, true, true, WakeBurst{0x55, 5, 8}},
                      BurstCase{28800, true, true, WakeBurst{0x55, 5, 24}},
                      BurstCase{38400, true, true, WakeBurst{0x55, 5, 32}},
                      BurstCase{57600, true, true, WakeBurst{0x55, 5, 48}},
                      // a baud change on the normal protocol: short runs, normal byte
                      BurstCase{9600, false, true, WakeBurst{0xF0, 5, 8}},
                      BurstCase{14400, false, false, std::nullopt}));

TEST(BaudTables, WakeReplyLettersAndTimeouts) {
  struct Row {
    std::uint32_t baud;
    std::uint8_t reply;
    char wakeLetter;
    char changeLetter;
    std::optional<Ticks> timeout;
  };
  const Row rows[] = {{1200, 0xFF, 'A', 'A', 49},  {2400, 0xFE, 'B', 'B', 29},
                      {4800, 0xF8, 'C', 'D', 18},  {9600, 0x80, 'D', 'H', 36},
                      {19200, 0x00, 'E', 'P', 9},  {28800, 0x00, 'E', 'X', 9},
                      {38400, 0x00, 'E', '`', 9},  {57600, 0x00, 'E', 'p', 9},
                      {14400, 0x00, 'E', 'L', std::nullopt}};
  for (const Row& r : rows) {
    EXPECT_EQ(expectedWakeReply(r.baud), r.reply) << r.baud;
    EXPECT_EQ(wakeBaudLetter(r.baud), r.wakeLetter) << r.baud;
    EXPECT_EQ(changeBaudLetter(r.baud), r.changeLetter) << r.baud;
    EXPECT_EQ(replyTimeoutTicks(r.baud), r.timeout) << r.baud;
  }
}

TEST(SendFramed, TicksByFlagsInOrder) {
  SendTicksInput base;
  base.replyTimeout = 36;
  EXPECT_EQ(sendFramedTicks(base), 36u);

  auto modem = base;
  modem.modemOrWireless = true;
  EXPECT_EQ(sendFramedTicks(modem), 60u);
  modem.awaitingData = true;  // downloads get no extra
  EXPECT_EQ(sendFramedTicks(modem), 36u);

  auto shortSend = modem;
  shortSend.shortTimeout = true;
  EXPECT_EQ(sendFramedTicks(shortSend), 9u);

  auto realTime = base;
  realTime.realTime = true;
  realTime.firmwareLetter = 'o';
  EXPECT_EQ(sendFramedTicks(realTime), 73u);
  realTime.firmwareLetter = 'p';
  EXPECT_EQ(sendFramedTicks(realTime), 36u);

  auto changeBaud = realTime;
  changeBaud.firmwareLetter = 'o';
  changeBaud.changeBaud = true;
  EXPECT_EQ(sendFramedTicks(changeBaud), 9u);
}

TEST(SendFramed, StatusTextCarriesTheCountRightAligned) {
  EXPECT_EQ(sendStatusText(">C005D", std::nullopt), "Send: >C005D");
  EXPECT_EQ(sendStatusText(">C005D", 3), "Send:  3 >C005D");
  EXPECT_EQ(sendStatusText(">X", 12), "Send: 12 >X");
  EXPECT_EQ(sendStatusText(">X", 0), "Send:  0 >X");
}

TEST(TraceEscape, NonPrintableBytesAsHex) {
  EXPECT_EQ(escapeTraceBytes(std::string("A\x80\x00z\r", 5)), "A\\x80\\x00z\\x0D");
  EXPECT_EQ(escapeTraceBytes("a\\b"), "a\\x5Cb");
}

}  // namespace
}  // namespace brevik::link
