#include "sim/virtual_serial_port.h"

#include <gtest/gtest.h>

#include "support/virtual_tick_scheduler.h"
#include "twin_script.h"

namespace brevik::sim {
namespace {

using testing::frame;
using testing::june3;

TEST(LineModel, ReceiverReadsBytesSentAtOtherBauds) {
  LineReceiver rx;
  const auto same = rx.receive('A', 9600, 9600, 1000);
  ASSERT_TRUE(same.has_value());
  EXPECT_EQ(same->value, 'A');
  EXPECT_FALSE(same->lineError);

  // A single fast byte, as a 1200-baud port reads it.
  for (const auto& [baud, seen] : {std::pair<std::uint32_t, int>{2400, 0xFE}, {4800, 0xF8}, {9600, 0x80},
                                   {19200, 0x00}, {57600, 0x00}, {14400, 0x80}}) {
    LineReceiver fresh;
    const auto b = fresh.receive(0xFF, baud, 1200, 100000);
    ASSERT_TRUE(b.has_value());
    EXPECT_EQ(b->value, seen) << baud;
    EXPECT_FALSE(b->lineError);
  }

  // Five bytes at 57600 all fall within one 1200-baud character.
  LineReceiver merging;
  int seen = 0;
  Micros t = 50000;
  for (int i = 0; i < 5; ++i) {
    t += characterTime(57600);
    if (merging.receive(0x55, 57600, 1200, t)) ++seen;
  }
  EXPECT_EQ(seen, 1);
  t += characterTime(1200);
  EXPECT_TRUE(merging.receive(0x55, 57600, 1200, t).has_value()) << "a later byte starts a new character";

  // A slow byte read by a fast port: framing error.
  const auto slow = rx.receive('C', 1200, 9600, 2000);
  ASSERT_TRUE(slow.has_value());
  EXPECT_EQ(slow->value, 0x00);
  EXPECT_TRUE(slow->lineError);
}

class VirtualLine : public ::testing::Test {
 protected:
  explicit VirtualLine() : port(ticks) {
    port.setDataArrived([this](std::size_t) { received += port.readWaiting(); });
  }

  LoggerProfile kaldo(std::uint8_t address = 0) {
    LoggerProfile p;
    p.address = address;
    return p;
  }

  // Advances until `count` bytes have arrived, at most `limit` ticks.
  bool waitFor(std::size_t count, link::Ticks limit = 200) {
    for (link::Ticks i = 0; i < limit && received.size() < count; ++i) ticks.advance(1);
    return received.size() >= count;
  }

  brevik::testing::VirtualTickScheduler ticks;
  VirtualSerialPort port;
  std::string received;
};

TEST_F(VirtualLine, NormalWakeUpAt9600FromAPortAt1200) {
  LoggerTwin twin(kaldo(), june3());
  port.attach(twin);
  ASSERT_TRUE(port.open(1, 1200).ok());
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(port.write(std::string(250, '\x55')).ok());

  ASSERT_TRUE(waitFor(1, 83));
  EXPECT_EQ(received, "\x80");
  EXPECT_FALSE(port.takeLineError());
  // 1.5 s of burst: 28 ticks.
  EXPECT_GE(ticks.now(), 27u);
  EXPECT_LE(ticks.now(), 29u);

  port.flushOutput();
  received.clear();
  ASSERT_TRUE(port.setBaudRate(9600).ok());
  ticks.advance(1);
  ASSERT_TRUE(port.write("\x80").ok());
  ASSERT_TRUE(waitFor(3, 7));
  EXPECT_EQ(received, "Kq\r");

  received.clear();
  ASSERT_TRUE(port.write(frame("C", 0)).ok());
  ASSERT_TRUE(waitFor(255, 36));
  EXPECT_EQ(received.size(), 255u);
  EXPECT_EQ(received.back(), '\r');
  ticks.advance(100);
  EXPECT_EQ(received.size(), 255u) << "the flushed burst never reached the logger";
}

TEST_F(VirtualLine, BytesAtTheWrongBaudAreGarbledBothWays) {
  LoggerTwin twin(kaldo(), june3());
  port.attach(twin);
  ASSERT_TRUE(port.open(1, 9600).ok());
  ASSERT_TRUE(port.write(frame("C", 0)).ok());  // wakes it
  ticks.advance(5);
  ASSERT_TRUE(port.setBaudRate(4800).ok());
  ASSERT_TRUE(port.write(frame("C", 0)).ok());
  ticks.advance(50);
  EXPECT_EQ(received, "") << "a command at 4800 means nothing to a logger at 9600";

  ASSERT_TRUE(port.setBaudRate(9600).ok());
  ASSERT_TRUE(port.write(frame("C", 0)).ok());
  // The command leaves at 9600; the port listens at 19200 for the reply.
  ASSERT_TRUE(port.setBaudRate(19200).ok());
  ticks.advance(20);
  ASSERT_EQ(received.size(), 255u);
  EXPECT_EQ(received, std::string(255, '\0'));
  EXPECT_TRUE(port.takeLineError());
  EXPECT_FALSE(port.takeLineError()) << "taking the flag clears it";
}

TEST_F(VirtualLine, OnlyTheAddressedStationAnswersOnASharedLine) {
  LoggerTwin station12(kaldo(12), june3());
  LoggerTwin station5(kaldo(5), june3());
  port.attach(station12);
  port.attach(station5);
  ASSERT_TRUE(port.open(1, 9600).ok());
  ASSERT_TRUE(port.write(std::string(10, '\xF0')).ok());  // both awake
  ticks.advance(5);

  ASSERT_TRUE(port.write(frame("C", 5)).ok());
  ASSERT_TRUE(waitFor(255));
  ticks.advance(20);
  ASSERT_EQ(received.size(), 255u);
  EXPECT_EQ(received.substr(195, 2), "05");

  received.clear();
  ASSERT_TRUE(port.write(frame("C", 12)).ok());
  ASSERT_TRUE(waitFor(255));
  ticks.advance(20);
  ASSERT_EQ(received.size(), 255u);
  EXPECT_EQ(received.substr(195, 2), "0C");

  received.clear();
  ASSERT_TRUE(port.write(frame("C", 7)).ok());
  ticks.advance(40);
  EXPECT_EQ(received, "");
}

TEST_F(VirtualLine, FastWakeUpAndBaudChangeThroughThePort) {
  LoggerProfile p = kaldo();
  p.protocol = WakeProtocol::Fast;
  p.baud = 57600;
  LoggerTwin twin(p, june3());
  port.attach(twin);
  ASSERT_TRUE(port.open(1, 57600).ok());
  for (int i = 0; i < 48; ++i) ASSERT_TRUE(port.write("\x55\x55\x55\x55\x55").ok());
  ticks.advance(3);
  EXPECT_EQ(received, "");
  ASSERT_TRUE(port.write(frame("IH", 0)).ok());
  ASSERT_TRUE(waitFor(3, 9));
  EXPECT_EQ(received, "OK\r");
  EXPECT_EQ(twin.baud(), 9600u);

  received.clear();
  ASSERT_TRUE(port.setBaudRate(9600).ok());
  ASSERT_TRUE(port.write(frame("C", 0)).ok());
  ASSERT_TRUE(waitFor(255, 20));
}

TEST_F(VirtualLine, AClosedPortNeitherSendsNorReceives) {
  LoggerTwin twin(kaldo(), june3());
  port.attach(twin);
  const auto closed = port.write("x");
  ASSERT_FALSE(closed.ok());
  EXPECT_EQ(closed.error().kind, ErrorKind::PortUnavailable);
  EXPECT_FALSE(port.setDtr(true).ok());

  ASSERT_TRUE(port.open(3, 9600).ok());
  EXPECT_TRUE(port.dtr());
  ASSERT_TRUE(port.write(std::string(10, '\xF0')).ok());
  ticks.advance(5);
  ASSERT_TRUE(port.write(frame("C", 0)).ok());
  port.close();
  EXPECT_FALSE(port.isOpen());
  ticks.advance(40);
  EXPECT_EQ(received, "");
  EXPECT_EQ(port.bytesWaiting(), 0u);
}

}  // namespace
}  // namespace brevik::sim
