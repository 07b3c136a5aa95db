#include "sim/logger_twin.h"

#include <gtest/gtest.h>

#include "sim/line_model.h"
#include "twin_script.h"

namespace brevik::sim {
namespace {

using testing::frame;
using testing::ScriptedPc;

LoggerProfile kaldo(std::uint32_t baud = 9600, char revision = 'q') {
  LoggerProfile p;
  p.baud = baud;
  p.revision = revision;
  p.ident = std::string{'K', revision};
  return p;
}

bool checksumOk(std::string_view line) {
  static constexpr std::string_view kDigits = "0123456789ABCDEF";
  if (line.size() < 2) return false;
  unsigned sum = 0;
  for (std::size_t i = 0; i + 2 < line.size(); ++i) sum += static_cast<unsigned char>(line[i]);
  sum += static_cast<unsigned>(kDigits.find(line[line.size() - 2]) * 16 + kDigits.find(line[line.size() - 1]));
  return sum % 256 == 0;
}

// Wakes a normal-protocol twin from a PC port at 1200 and switches it to its
// own baud with the switch byte; returns the identification line.
std::string wakeAndSwitch(ScriptedPc& pc) {
  pc.burst(0x55, 250, 2, 1200);
  pc.take();
  const std::uint32_t baud = pc.twin.baud();
  pc.send(std::string(1, baud == 1200 ? '\xC0' : '\x80'), baud);
  pc.wait(ticksToMicros(4));
  return pc.take();
}

struct NormalWake {
  std::uint32_t pcBaud;
  char wakeByte;
  std::size_t runs;
};

class NormalWakeUp : public ::testing::TestWithParam<NormalWake> {};

TEST_P(NormalWakeUp, AnswersOnceWithTheByteOfItsBaudThenIdentifiesAfterTheSwitch) {
  const auto w = GetParam();
  ScriptedPc pc(kaldo(9600));
  pc.burst(w.wakeByte, 250, w.runs, w.pcBaud);
  ASSERT_EQ(pc.sent.size(), 1u);
  EXPECT_EQ(static_cast<std::uint8_t>(pc.sent[0].byte), 0x80);
  EXPECT_EQ(pc.sent[0].baud, 9600u);
  // About 1.5 s into the burst, well before the PC gives up after 83 ticks.
  EXPECT_GE(pc.sent[0].at, LoggerTwin::kNormalWakeActivity);
  EXPECT_LT(pc.sent[0].at, LoggerTwin::kNormalWakeActivity + milliseconds(60));
  EXPECT_EQ(pc.twin.phase(), LoggerTwin::Phase::AwaitBaudSwitch);
  pc.take();

  pc.send("\x80", 9600);
  pc.wait(ticksToMicros(2));
  EXPECT_EQ(pc.take(), "");  // the identification waits three ticks
  pc.wait(ticksToMicros(2));
  ASSERT_EQ(pc.sent.size(), 3u);
  EXPECT_EQ(pc.sent[0].baud, 9600u);
  EXPECT_EQ(pc.take(), "Kq\r");
  EXPECT_EQ(pc.twin.phase(), LoggerTwin::Phase::Awake);
}

INSTANTIATE_TEST_SUITE_P(PortBauds, NormalWakeUp,
                         ::testing::Values(NormalWake{1200, 0x55, 2}, NormalWake{2400, '\x99', 4},
                                           NormalWake{4800, '\x99', 8}, NormalWake{9600, '\xF0', 16},
                                           NormalWake{19200, '\xF0', 32}));

TEST(TwinWakeUp, ReplyByteIsWhatA1200BaudPortReadsForTheLoggersBaud) {
  const std::pair<std::uint32_t, std::uint8_t> cases[] = {
      {1200, 0xFF}, {2400, 0xFE}, {4800, 0xF8}, {9600, 0x80}, {19200, 0x00}};
  for (const auto& [baud, expected] : cases) {
    ScriptedPc pc(kaldo(baud));
    pc.burst(0x55, 250, 2, 1200);
    ASSERT_EQ(pc.sent.size(), 1u) << baud;
    EXPECT_EQ(static_cast<std::uint8_t>(pc.sent[0].byte), expected) << baud;
    EXPECT_EQ(pc.sent[0].baud, baud);
  }
}

TEST(TwinWakeUp, ADirectLinkAt19200SwitchesWithELetterAt1200) {
  ScriptedPc pc(kaldo(19200));
  pc.burst(0x55, 250, 2, 1200);
  pc.take();
  pc.send("E", 1200);
  pc.wait(ticksToMicros(4));
  ASSERT_FALSE(pc.sent.empty());
  EXPECT_EQ(pc.sent[0].baud, 19200u);
  EXPECT_EQ(pc.take(), "Kq\r");
}

TEST(TwinWakeUp, AModemLinkAt19200SwitchesWithTheSevenByteSequence) {
  ScriptedPc pc(kaldo(19200));
  pc.burst('\xF0', 250, 32, 19200);
  EXPECT_EQ(pc.take(), std::string(1, '\0'));
  pc.send(std::string("\x00\xE0\xFF\xFF\xFF\x00", 6), 19200);
  pc.wait(ticksToMicros(4));
  EXPECT_EQ(pc.take(), "");  // one byte short of the sequence
  pc.send(std::string(1, '\0'), 19200);
  pc.wait(ticksToMicros(4));
  EXPECT_EQ(pc.take(), "Kq\r");
}

TEST(TwinWakeUp, OldLoggersAnswerWithRAndTakeTheBaudLetter) {
  LoggerProfile p = kaldo(1200, 'G');
  ScriptedPc pc(p);
  pc.burst(0x55, 250, 2, 1200);
  // Not in the middle of the burst: the PC's letter would queue behind it.
  EXPECT_TRUE(pc.sent.empty());
  pc.wait(LoggerTwin::kActivityGap - milliseconds(1));
  EXPECT_TRUE(pc.sent.empty());
  pc.wait(milliseconds(1));
  ASSERT_EQ(pc.sent.size(), 2u);
  EXPECT_EQ(pc.sent[0].baud, 1200u);
  EXPECT_EQ(pc.sent[0].at, pc.now);
  EXPECT_EQ(pc.take(), "R\r");
  EXPECT_EQ(pc.twin.phase(), LoggerTwin::Phase::AwaitBaudLetter);
  pc.send("D", 1200);
  pc.wait(ticksToMicros(4));
  EXPECT_EQ(pc.twin.baud(), 9600u);
  ASSERT_FALSE(pc.sent.empty());
  EXPECT_EQ(pc.sent[0].baud, 9600u);
  EXPECT_EQ(pc.take(), "KG\r");
}

TEST(TwinWakeUp, FastLoggersAnswerNothingAndTakeTheFirstCommand) {
  LoggerProfile p = kaldo(57600);
  p.protocol = WakeProtocol::Fast;
  ScriptedPc pc(p);
  pc.burst(0x55, 5, 48, 57600);
  pc.wait(ticksToMicros(3));
  EXPECT_EQ(pc.take(), "");
  EXPECT_EQ(pc.twin.phase(), LoggerTwin::Phase::Awake);
  const std::string reply = pc.ask(frame("C", 0), 57600);
  ASSERT_EQ(reply.size(), 255u);
  EXPECT_EQ(reply.back(), '\r');
  EXPECT_TRUE(checksumOk(reply.substr(0, 254)));
}

TEST(TwinCommands, RepliesTheProfilesDelayAfterTheCommandsCarriageReturn) {
  for (const std::uint32_t delayMs : {20u, 0u, 150u}) {
    LoggerProfile p = kaldo(57600);
    p.protocol = WakeProtocol::Fast;
    p.replyDelayMs = delayMs;
    ScriptedPc pc(p);
    pc.burst(0x55, 5, 48, 57600);
    pc.wait(ticksToMicros(3));
    pc.send(frame("DA0200", 0), 57600);
    const Micros crAt = pc.now;
    pc.wait(milliseconds(400));
    ASSERT_EQ(pc.sent.size(), 195u) << delayMs << " ms";
    EXPECT_EQ(pc.sent.front().at, crAt + milliseconds(delayMs)) << delayMs << " ms";
  }
}

TEST(TwinWakeUp, AFastLoggerIgnoresEvenALongBurst) {
  LoggerProfile p = kaldo(9600);
  p.protocol = WakeProtocol::Fast;
  ScriptedPc pc(p);
  pc.burst('\xF0', 250, 16, 9600);
  pc.wait(kMicrosPerSecond);
  EXPECT_EQ(pc.take(), "");
}

TEST(TwinWakeUp, ASleepingLoggerDoesNotAnswerCommandsAndSleepsAgainWhenIdle) {
  ScriptedPc pc(kaldo(9600));
  EXPECT_EQ(pc.ask(frame("C", 0), 9600), "");  // the command only woke it
  EXPECT_EQ(pc.ask(frame("C", 0), 9600).size(), 255u);
  pc.wait(LoggerTwin::kIdleSleep);
  EXPECT_EQ(pc.twin.phase(), LoggerTwin::Phase::Asleep);
  EXPECT_EQ(pc.ask(frame("C", 0), 9600), "");
}

TEST(TwinIdentification, SendsTheProfilesLineOfOneToFiveCharacters) {
  for (const std::string ident : {"q", "Kq", "XKq", "Kq12", "XKq12"}) {
    LoggerProfile p = kaldo();
    p.ident = ident;
    ScriptedPc pc(p);
    EXPECT_EQ(wakeAndSwitch(pc), ident + "\r");
  }
  LoggerProfile silent = kaldo();
  silent.ident = "";
  ScriptedPc pc(silent);
  EXPECT_EQ(wakeAndSwitch(pc), "");
}

TEST(TwinCommands, ChecksumAndStationAddressDecideWhetherItAnswers) {
  LoggerProfile p = kaldo();
  p.address = 12;
  ScriptedPc pc(p);
  wakeAndSwitch(pc);
  EXPECT_EQ(pc.ask(frame("C", 12), 9600).size(), 255u);
  EXPECT_EQ(pc.ask(frame("C", 0), 9600).size(), 255u) << "address 00 reaches every logger";
  EXPECT_EQ(pc.ask(frame("C", 5), 9600), "") << "another station's address";
  EXPECT_EQ(pc.ask(">C0C4B\r", 9600), "") << "wrong checksum";
  EXPECT_EQ(pc.ask(frame("C"), 9600), "") << "no address for firmware S and later";
  EXPECT_EQ(pc.ask(">C0C4A\r", 9600).size(), 255u);
  EXPECT_EQ(pc.ask(frame("C", 12), 4800), "") << "sent at the wrong baud";
}

TEST(TwinCommands, FirmwareBelowSTakesFramesWithoutAddress) {
  ScriptedPc pc(kaldo(9600, 'R'));
  wakeAndSwitch(pc);
  EXPECT_EQ(pc.ask(">CBD\r", 9600).size(), 255u);
  EXPECT_EQ(pc.ask(frame("C", 0), 9600), "");
}

TEST(TwinCommands, ProgramsItsStationAddress) {
  ScriptedPc pc(kaldo());
  wakeAndSwitch(pc);
  EXPECT_EQ(pc.ask(frame("F2A", 0), 9600), "OK\r");
  EXPECT_EQ(pc.twin.state().address, 0x2A);
  const std::string status = pc.ask(frame("C", 0x2A), 9600);
  ASSERT_EQ(status.size(), 255u);
  EXPECT_EQ(status.substr(195, 2), "2A");
}

TEST(TwinCommands, ChangesBaudAfterAcknowledging) {
  ScriptedPc pc(kaldo(9600));
  pc.burst(0x55, 5, 1, 1200);  // the short burst before a baud change
  pc.wait(ticksToMicros(3));
  EXPECT_EQ(pc.ask(frame("IP", 0), 1200), "") << "sent at 1200 to a logger at 9600";
  EXPECT_EQ(pc.ask(frame("IP", 0), 19200), "");
  pc.send(frame("IP", 0), 9600);
  pc.wait(ticksToMicros(2));
  ASSERT_EQ(pc.sent.size(), 3u);
  EXPECT_EQ(pc.sent[0].baud, 9600u);
  EXPECT_EQ(pc.take(), "OK\r");
  EXPECT_EQ(pc.twin.baud(), 19200u);
  EXPECT_EQ(pc.ask(frame("C", 0), 9600), "");
  EXPECT_EQ(pc.ask(frame("C", 0), 19200).size(), 255u);

  // The next wake-up is answered at the new baud.
  pc.wait(LoggerTwin::kIdleSleep);
  pc.burst(0x55, 250, 2, 1200);
  ASSERT_EQ(pc.sent.size(), 1u);
  EXPECT_EQ(pc.sent[0].baud, 19200u);
  EXPECT_EQ(static_cast<std::uint8_t>(pc.sent[0].byte), 0x00);
}

TEST(TwinCommands, AnswersTheScheduleRequest) {
  LoggerProfile p = kaldo();
  p.schedule = "9830073300";
  ScriptedPc pc(p);
  wakeAndSwitch(pc);
  const std::string reply = pc.ask(frame("DA01D0", 0), 9600);
  ASSERT_EQ(reply.size(), 13u);
  EXPECT_EQ(reply.substr(0, 10), "9830073300");
  EXPECT_TRUE(checksumOk(reply.substr(0, 12)));
}

TEST(TwinConfiguration, AStatusAfterTheFourMessagesShowsTheNewSetUp) {
  ScriptedPc pc(kaldo());
  wakeAndSwitch(pc);
  const auto pad = [](std::string s, std::size_t width) {
    s.resize(width, ' ');
    return s;
  };
  // 10:20:30 on Monday 4 July 2005; weekly dial-out on Tuesday at 07:30.
  const std::string header = "0" + std::string("3020100407205") + "0030070407398" + "I" + "G" + "A" +
                             pad("Nouveau site", 31) + "CC3X";
  const std::string second = "2" + pad("Interieur", 24) + pad("Exterieur", 24);
  const std::string third = "3" + pad("Tension", 24) + pad("Porte", 24);
  const std::string fourth = "4" + pad("C", 12) + pad("C", 12) + "   0.0  10.0" + "   0.0   1.0" + " J@" + " B";
  for (const auto& message : {header, second, third, fourth}) EXPECT_EQ(pc.ask(frame(message, 0), 9600), "OK\r");

  const std::string r = pc.ask(frame("C", 0), 9600);
  ASSERT_EQ(r.size(), 254u) << "10 bit now: 251 characters, checksum, CR";
  EXPECT_TRUE(checksumOk(r.substr(0, 253)));
  EXPECT_EQ(r.substr(28, 2), "81");  // ring, and bit 7 for 10 bit
  EXPECT_EQ(r.substr(30, 2), "49");  // rate 'I'
  EXPECT_EQ(r.substr(32, 2), "07");  // channels 1 to 3
  EXPECT_EQ(r.substr(34, 2), "J@");  // input modes
  EXPECT_EQ(r.substr(38, 4), "0200");  // memory erased
  EXPECT_EQ(r.substr(42, 24), pad("Interieur", 24));
  EXPECT_EQ(r.substr(114, 24), pad("Porte", 24));
  EXPECT_EQ(r.substr(138, 31), pad("Nouveau site", 31));
  EXPECT_EQ(r.substr(181, 10), "3020100407");  // the clock as sent, a moment later
  EXPECT_EQ(r.substr(191, 4), "A205");
  EXPECT_EQ(r.substr(221, 24), "   0.0  10.0   0.0   1.0");
  EXPECT_EQ(r.substr(245, 4), "CC3X");

  const std::string schedule = pc.ask(frame("DA01D0", 0), 9600);
  EXPECT_EQ(schedule.substr(0, 12), "983007330400");
}

TEST(TwinConfiguration, MalformedMessagesAreRefusedAndLabelsOnlyKeepsTheMemory) {
  ScriptedPc pc(kaldo());
  wakeAndSwitch(pc);
  EXPECT_EQ(pc.ask(frame("0123", 0), 9600), "ER\r");
  const std::string labels = "K" + std::string("3020100407205") + "0000000000000" + "J" + "O" + "@" + "Autre" + "AB3X";
  EXPECT_EQ(pc.ask(frame(labels, 0), 9600), "OK\r");
  EXPECT_EQ(pc.twin.state().session, "Autre");
  EXPECT_EQ(pc.twin.state().types, "AB3X");
  EXPECT_EQ(pc.twin.state().pointer, 0x0800);
  EXPECT_EQ(pc.twin.state().rate, 'J');
}

TEST(TwinRealTime, NewFirmwareAnswersEachY) {
  LoggerProfile p = kaldo();
  p.readings = "0102030405FF";
  ScriptedPc pc(p);
  wakeAndSwitch(pc);
  const std::string reading = pc.ask(frame("Y", 0), 9600);
  ASSERT_EQ(reading.size(), 16u);
  EXPECT_EQ(reading.substr(0, 13), ">0102030405FF");
  EXPECT_TRUE(checksumOk(reading.substr(1, 14)));
  EXPECT_EQ(pc.ask(frame("Z", 0), 9600), "") << "Z is the old firmware's command";
  pc.wait(5 * kMicrosPerSecond);
  EXPECT_EQ(pc.take(), "");
}

TEST(TwinRealTime, OldFirmwareStreamsAfterZUntilWokenAgain) {
  LoggerProfile p = kaldo(9600, 'o');
  p.readings = "0102030405FF";
  ScriptedPc pc(p);
  wakeAndSwitch(pc);
  EXPECT_EQ(pc.ask(frame("Y", 0), 9600), "") << "Y needs firmware p";
  EXPECT_EQ(pc.ask(frame("Z", 0), 9600), "OK\r");
  pc.wait(3 * kMicrosPerSecond + milliseconds(100));
  const std::string stream = pc.take();
  ASSERT_EQ(stream.size(), 3 * 16u);
  EXPECT_EQ(stream.substr(0, 13), ">0102030405FF");
  EXPECT_EQ(stream.substr(16, 13), ">0102030405FF");
  EXPECT_TRUE(pc.twin.streaming());
  pc.wait(60 * kMicrosPerSecond);
  EXPECT_TRUE(pc.twin.streaming()) << "streaming keeps it awake";
  pc.take();
  pc.burst(0x55, 250, 2, 1200);  // the wake-up that ends the stream
  EXPECT_FALSE(pc.twin.streaming());
  pc.take();
  pc.wait(5 * kMicrosPerSecond);
  EXPECT_EQ(pc.take().find(">0102"), std::string::npos);
}

TEST(TwinFaults, EachFaultDoesWhatItsNameSays) {
  const auto statusWith = [](const char* faults) {
    LoggerProfile p = kaldo();
    auto parsed = parseLoggerProfile(std::string("faults = ") + faults + "\n", "t", ".");
    p.faultRates = parsed->faultRates;
    ScriptedPc pc(p);
    wakeAndSwitch(pc);
    return pc.ask(frame("C", 0), 9600);
  };
  EXPECT_EQ(statusWith("silence:1"), "");
  const std::string bad = statusWith("badsum:1");
  ASSERT_EQ(bad.size(), 255u);
  EXPECT_FALSE(checksumOk(bad.substr(0, 254)));
  const std::string rejected = statusWith("reject:1");
  ASSERT_EQ(rejected.size(), 255u);
  EXPECT_EQ(rejected[4], '9');
  EXPECT_TRUE(checksumOk(rejected.substr(0, 254))) << "refused for its content, not its checksum";
  EXPECT_EQ(statusWith("short:1").size(), 128u);
  const std::string twice = statusWith("dup:1");
  ASSERT_EQ(twice.size(), 510u);
  EXPECT_EQ(twice.substr(0, 255), twice.substr(255));
  const std::string noisy = statusWith("garbage:1");
  const auto firstCr = noisy.find('\r');
  EXPECT_LT(firstCr, 25u);
  EXPECT_EQ(noisy.size(), firstCr + 1 + 255);

  LoggerProfile p = kaldo();
  p.faultRates[static_cast<std::size_t>(FaultKind::LongIdent)] = 1.0;
  ScriptedPc pc(p);
  const std::string ident = wakeAndSwitch(pc);
  EXPECT_GE(ident.size(), 7u);  // six characters or more, and CR
}

std::string faultyRun(std::uint64_t seed) {
  LoggerProfile p = kaldo();
  p.faultRates = {0.3, 0.2, 0.3, 0.3, 0.2, 0.0, 0.2};
  p.seed = seed;
  ScriptedPc pc(p);
  wakeAndSwitch(pc);
  std::string all;
  for (int i = 0; i < 40; ++i) all += "|" + pc.ask(frame("C", 0), 9600);
  return all;
}

TEST(TwinFaults, ASeedRepeatsTheSameFaults) {
  const std::string first = faultyRun(7);
  EXPECT_EQ(first, faultyRun(7));
  EXPECT_NE(first, faultyRun(8));
}

}  // namespace
}  // namespace brevik::sim
