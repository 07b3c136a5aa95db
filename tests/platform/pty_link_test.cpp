// The platform's serial port and ticks in real time on pseudo-terminals:
// one whole status exchange through kaldo against the virtual logger on a
// pty, and the port's behaviour where a pty differs from hardware.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <sstream>
#include <thread>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "common/clock.h"
#include "platform/qt_serial_port.h"
#include "platform/qt_tick_scheduler.h"
#include "sim/logger_profile.h"
#include "sim/pty_logger_host.h"
#include "support/temp_dir.h"
#include "pty_twin.h"

namespace brevik::platform {
namespace {

QCoreApplication& application() {
  static int argc = 1;
  static char name[] = "test_platform";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = QCoreApplication::instance() ? QCoreApplication::instance()
                                                               : new QCoreApplication(argc, argv);
  return *app;
}

// Runs the event loop until `done` or a generous safety limit.
bool runUntil(const std::function<bool()>& done, int limitMs = 5000) {
  QEventLoop loop;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (done()) loop.quit();
  });
  watch.start(5);
  QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
  loop.exec();
  return done();
}

// A pty pair held by the test: the port opens the slave's path.
struct Pty {
  Pty() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    path = ptsname(master);
    slave = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
  }
  ~Pty() {
    if (slave >= 0) ::close(slave);
    if (master >= 0) ::close(master);
  }
  speed_t speed() const {
    termios t{};
    tcgetattr(slave, &t);
    return cfgetospeed(&t);
  }
  int master = -1;
  int slave = -1;
  std::string path;
};

TEST(PtyLink, KaldoStatusRunsAWholeExchangeThroughQSerialPort) {
  auto profile = sim::loadSimProfile("kaldo5-12bit", BREVIK_DATA_DIR "/sim");
  ASSERT_TRUE(profile.ok());
  brevik::testing::PtyTwin twin(std::move(*profile));
  ASSERT_TRUE(twin.ok()) << twin.error();

  brevik::testing::TempDir home;
  ASSERT_TRUE(brevik::testing::saveFastLineSettings(home.path()));
  std::ostringstream out, err;
  const int status = cli::runKaldo({"--home", home.path().string(), "status", "--port", twin.device(), "--trace"},
                                   home.path(), out, err);
  twin.stop();

  EXPECT_EQ(status, cli::kExitOk) << out.str() << err.str();
  EXPECT_EQ(out.str().rfind("ModelBox: KALDO     12 bit\n", 0), 0u) << out.str();
  EXPECT_NE(out.str().find("Desc1Box: Thermistance A\n"), std::string::npos);
  EXPECT_NE(out.str().find("\nSchedule: "), std::string::npos);
  EXPECT_NE(err.str().find("] > wake 55 5x48 @57600"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("] > >DA01D00046"), std::string::npos) << "the schedule was asked for";
}

TEST(PtyLink, KaldoReceiveDownloadsThroughQSerialPortAtTheLineRate) {
  // The download benchmark's path, on sixteen lines instead of a bank.
  sim::LoggerProfile profile;
  profile.resolution = 8;
  profile.protocol = sim::WakeProtocol::Fast;
  profile.baud = 57600;
  profile.pointer = 0x0800;
  profile.replyDelayMs = 0;
  auto host = sim::PtyLoggerHost::open(profile, SystemClock().now());
  ASSERT_TRUE(host.ok()) << host.error().message;
  std::atomic<bool> stop{false};
  std::thread twin([&] { (void)(*host)->serve(stop); });

  brevik::testing::TempDir home;
  settings::LoggerSettings settings;
  settings.FastProtocol = 1;
  settings.BaudRate = 57600;
  ASSERT_TRUE(settings::saveSettings(home.path(), settings));
  const auto file = home.path() / "site.qx1";
  std::ostringstream out, err;
  const int status = cli::runKaldo({"--home", home.path().string(), "receive", file.string(), "--port",
                                    (*host)->devicePath()},
                                   home.path(), out, err);
  stop = true;
  twin.join();

  ASSERT_EQ(status, cli::kExitOk) << out.str() << err.str();
  EXPECT_NE(out.str().find("Transfert termin"), std::string::npos) << out.str();
  std::istringstream written(home.read("site.qx1"));
  int memoryLines = 0;
  for (std::string line; std::getline(written, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() == 194) ++memoryLines;  // 96 bytes in hex and the checksum
  }
  EXPECT_EQ(memoryLines, 16) << "0x0200 to 0x0800 in lines of 96 bytes";
  const sim::LineTraffic& traffic = (*host)->traffic();
  EXPECT_EQ(traffic.linesToProgram, 17u) << "the status reply and sixteen lines";
  EXPECT_EQ(traffic.bytesToTwin, 240u + 7u + 16u * 12u) << "burst, >C005D and sixteen >DAxxxx00cc";
  EXPECT_NEAR(traffic.wireSeconds, static_cast<double>(traffic.bytesToTwin + traffic.bytesToProgram) * 10 / 57600,
              1e-9);
}

TEST(PtyLink, PortOnAPseudoTerminal) {
  application();
  Pty pty;
  ASSERT_GE(pty.slave, 0);
  QtSerialPort port([&](link::PortNumber n) { return n == 3 ? pty.path : std::string("/dev/brevik-none"); });

  const Status missing = port.open(1, 1200);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().kind, ErrorKind::PortUnavailable);
  EXPECT_FALSE(port.isOpen());

  ASSERT_TRUE(port.open(3, 1200).ok());
  EXPECT_EQ(pty.speed(), B1200);
  EXPECT_TRUE(port.setDtr(true).ok()) << "a pty has no DTR; that is not a port failure";
  EXPECT_TRUE(port.setDtr(false).ok());
  ASSERT_TRUE(port.setBaudRate(9600).ok());
  EXPECT_EQ(pty.speed(), B9600) << "the speed changes while open";

  std::string received;
  port.setDataArrived([&](std::size_t) { received += port.readWaiting(); });
  ASSERT_EQ(::write(pty.master, "Kq\r", 3), 3);
  EXPECT_TRUE(runUntil([&] { return received == "Kq\r"; })) << received;

  ASSERT_TRUE(port.write(">C005D\r").ok());
  std::string sent;
  EXPECT_TRUE(runUntil([&] {
    char buf[64];
    const ssize_t n = ::read(pty.master, buf, sizeof buf);
    if (n > 0) sent.append(buf, static_cast<std::size_t>(n));
    return sent == ">C005D\r";
  }));

  // The other end vanishes: the port closes itself instead of spinning on
  // read errors, and later writes report the port as unavailable.
  ::close(pty.master);
  ::close(pty.slave);
  pty.master = pty.slave = -1;
  EXPECT_TRUE(runUntil([&] { return !port.isOpen(); }));
  const Status afterLoss = port.write("x");
  ASSERT_FALSE(afterLoss.ok());
  EXPECT_EQ(afterLoss.error().kind, ErrorKind::PortUnavailable);
}

// `kaldo sim` with a modem or loop-back profile: what the profile puts at
// the far end answers on the pty.
TEST(PtyLink, TheFarEndOfAModemOrLoopbackProfileAnswersOnThePty) {
  application();
  const std::pair<const char*, const char*> cases[] = {
      {"hayes-modem", "AT&F\r\r\nOK\r\n"},
      {"loopback", "AT&F\r"},
  };
  for (const auto& [name, answer] : cases) {
    auto profile = sim::loadSimProfile(name, BREVIK_DATA_DIR "/sim");
    ASSERT_TRUE(profile.ok()) << name;
    auto host = sim::PtyLoggerHost::open(std::move(*profile), SystemClock().now());
    ASSERT_TRUE(host.ok()) << host.error().message;
    std::atomic<bool> stop{false};
    std::thread farEnd([&] { (void)(*host)->serve(stop); });
    {
      const std::string device = (*host)->devicePath();
      QtSerialPort port([&](link::PortNumber) { return device; });
      ASSERT_TRUE(port.open(3, 9600).ok()) << name;
      std::string received;
      port.setDataArrived([&](std::size_t) { received += port.readWaiting(); });
      ASSERT_TRUE(port.write("AT&F\r").ok());
      EXPECT_TRUE(runUntil([&] { return received == answer; })) << name << ": " << received;
      port.close();
    }
    stop = true;
    farEnd.join();
  }
}

TEST(PtyLink, TicksRunLaterInOrderAndTheTimerReplacesItself) {
  application();
  QtTickScheduler ticks;
  std::vector<std::string> order;
  ticks.after(2, [&] { order.push_back("b"); });
  ticks.after(0, [&] { order.push_back("a"); });
  const auto dropped = ticks.after(1, [&] { order.push_back("dropped"); });
  ticks.cancel(dropped);
  ticks.armTimer(1, [&] { order.push_back("first arming"); });
  ticks.armTimer(3, [&] { order.push_back("timer"); });
  EXPECT_TRUE(order.empty()) << "nothing runs inside the call that schedules it";
  EXPECT_TRUE(ticks.timerArmed());
  EXPECT_TRUE(runUntil([&] { return order.size() >= 3; }));
  EXPECT_EQ(order, (std::vector<std::string>{"a", "b", "timer"}));
  EXPECT_FALSE(ticks.timerArmed());
}

}  // namespace
}  // namespace brevik::platform
