#include "program/hang_up.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "support/fake_serial_port.h"
#include "support/temp_dir.h"
#include "support/virtual_tick_scheduler.h"

namespace brevik::program {
namespace {

using brevik::testing::FakeSerialPort;
using brevik::testing::TempDir;
using brevik::testing::VirtualTickScheduler;

struct HangUpFixture : ::testing::Test {
  VirtualTickScheduler ticks;
  FakeSerialPort port{&ticks};
  ModemHangUp hangUp{port, ticks};
  settings::LoggerSettings settings;
  std::optional<Status> outcome;
  std::optional<link::Ticks> doneAt;

  void start() {
    hangUp.start(settings, [this](Status s) {
      outcome = s;
      doneAt = ticks.now();
    });
  }
};

TEST_F(HangUpFixture, PulsesDtrThenEscapesAndHangsUpTwice) {
  settings.PortNumber = 3;
  settings.BaudRate = 9600;
  start();
  EXPECT_TRUE(hangUp.running());
  ticks.advance(133);
  EXPECT_FALSE(outcome) << "ended before the second ATH";
  ticks.advance(1);
  EXPECT_EQ(port.log(), (std::vector<std::string>{
                            "[0] open COM3 9600",
                            "[0] dtr 1",
                            "[4] dtr 0",
                            "[13] dtr 1",
                            "[50] write +++",
                            "[78] write ATH\\x0D",
                            "[106] write +++",
                            "[134] write ATH\\x0D",
                            "[134] close",
                        }));
  ASSERT_TRUE(outcome);
  EXPECT_TRUE(*outcome);
  EXPECT_EQ(doneAt, 134u);
  EXPECT_FALSE(hangUp.running());
  EXPECT_EQ(ticks.pending(), 0u);
}

TEST_F(HangUpFixture, PortNumberIsTakenAsSixteenBits) {
  settings.PortNumber = 0x10002;
  start();
  ticks.runUntilIdle();
  EXPECT_EQ(port.log().front(), "[0] open COM2 19200");
}

TEST_F(HangUpFixture, PortThatCannotOpenEndsAtOnceWithPortUnavailable) {
  port.refuseOpen("COM1 is busy");
  start();
  EXPECT_FALSE(outcome) << "Done must not run from inside start()";
  ticks.runDue();
  ASSERT_TRUE(outcome);
  ASSERT_FALSE(*outcome);
  EXPECT_EQ(outcome->error().kind, ErrorKind::PortUnavailable);
  EXPECT_EQ(hangUpLogText(*outcome), "Modem not hung up: COM1 is busy");
  EXPECT_EQ(port.log(), std::vector<std::string>{"[0] open COM1 19200 failed"});
}

TEST_F(HangUpFixture, LostDeviceIsReportedAfterTheSequenceRanOut) {
  start();
  ticks.advance(20);
  port.loseDevice();
  ticks.runUntilIdle();
  ASSERT_TRUE(outcome);
  ASSERT_FALSE(*outcome);
  EXPECT_EQ(outcome->error().kind, ErrorKind::PortUnavailable);
  EXPECT_FALSE(port.isOpen());
}

TEST_F(HangUpFixture, AbandonedSequenceClosesThePortAndLeavesNothingScheduled) {
  auto early = std::make_unique<ModemHangUp>(port, ticks);
  early->start(settings, [this](Status s) { outcome = s; });
  ticks.advance(60);
  early.reset();
  EXPECT_EQ(ticks.pending(), 0u);
  EXPECT_FALSE(port.isOpen());
  ticks.advance(200);
  EXPECT_FALSE(outcome);
}

TEST_F(HangUpFixture, HangUpModeLogsAndQuits) {
  TempDir home;
  home.write("QXLOG.TXT", "earlier content\r\n");
  FixedClock clock(DateTime{2024, 3, 5, 9, 30, 0, 0, 2});
  const settings::UnattendedLog log(home.path(), clock);
  std::optional<settings::QuitRequest> quit;
  hangUpAndQuit(hangUp, settings, log, [&](settings::QuitRequest q) { quit = q; });
  ticks.advance(133);
  EXPECT_FALSE(quit);
  ticks.advance(1);
  ASSERT_TRUE(quit);
  EXPECT_FALSE(quit->saveSettings);
  EXPECT_FALSE(quit->hangUpModem);
  EXPECT_EQ(home.read("QXLOG.TXT"), "session finished, modem on hook 3/5/2024 9:30:00 AM\r\n");
}

// The shared test tools themselves: due order and cancellation.
TEST(VirtualTickScheduler, RunsStepsInDueOrderAndNeverFromInsideAfter) {
  VirtualTickScheduler ticks;
  std::vector<std::string> ran;
  ticks.after(5, [&] { ran.push_back("b@" + std::to_string(ticks.now())); });
  ticks.after(2, [&] {
    ran.push_back("a@" + std::to_string(ticks.now()));
    ticks.after(0, [&] { ran.push_back("a0@" + std::to_string(ticks.now())); });
  });
  const auto dropped = ticks.after(3, [&] { ran.push_back("dropped"); });
  ticks.after(5, [&] { ran.push_back("c@" + std::to_string(ticks.now())); });
  ticks.cancel(dropped);
  EXPECT_TRUE(ran.empty());
  ticks.advance(4);
  EXPECT_EQ(ticks.now(), 4u);
  ticks.advance(10);
  EXPECT_EQ(ran, (std::vector<std::string>{"a@2", "a0@2", "b@5", "c@5"}));
}

TEST(VirtualTickScheduler, ArmingTheTimerAgainReplacesIt) {
  VirtualTickScheduler ticks;
  int fired = 0;
  ticks.armTimer(10, [&] { fired = 1; });
  ticks.advance(5);
  ticks.armTimer(10, [&] { fired = 2; });
  ticks.advance(9);
  EXPECT_EQ(fired, 0);
  EXPECT_TRUE(ticks.timerArmed());
  ticks.advance(1);
  EXPECT_EQ(fired, 2);
  EXPECT_FALSE(ticks.timerArmed());
  ticks.armTimer(3, [&] { fired = 3; });
  ticks.disarmTimer();
  EXPECT_TRUE(ticks.runUntilIdle());
  EXPECT_EQ(fired, 2);
}

TEST(FakeSerialPort, DeliversReceivedBytesOnlyWhileOpen) {
  FakeSerialPort port;
  std::size_t announced = 0;
  port.setDataArrived([&](std::size_t n) { announced = n; });
  port.receive("lost");
  EXPECT_EQ(announced, 0u);
  ASSERT_TRUE(port.open(1, 9600));
  port.receive("OK\r");
  EXPECT_EQ(announced, 3u);
  EXPECT_EQ(port.readWaiting(), "OK\r");
  EXPECT_EQ(port.bytesWaiting(), 0u);
  port.raiseLineError();
  EXPECT_TRUE(port.takeLineError());
  EXPECT_FALSE(port.takeLineError());
}

}  // namespace
}  // namespace brevik::program
