// kaldo hangup against the virtual logger in-process (virtual time), and the
// command lines it refuses.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "settings/unattended_log.h"
#include "cli/command.h"
#include "cli/kaldo_run.h"
#include "program/hang_up.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using brevik::testing::TempDir;
using kaldo_test::KaldoRun;
using kaldo_test::lines;

KaldoRun kaldoHangUp(const TempDir& home, std::vector<std::string> args) {
  return kaldo_test::runKaldoCommand(home, "hangup", std::move(args));
}

void portSettings(const TempDir& home, std::uint32_t portNumber, std::uint32_t baud) {
  settings::LoggerSettings s;
  s.PortNumber = portNumber;
  s.BaudRate = baud;
  ASSERT_TRUE(settings::saveSettings(home.path(), s));
}

TEST(KaldoHangUp, PulsesDtrThenEscapesAndHangsUpTwiceOnTheTicksTheModemNeeds) {
  TempDir home;
  portSettings(home, 3, 2400);
  home.write(settings::kUnattendedLogName, "an earlier run\r\n");
  const auto traceFile = home / "hangup.trace";
  const KaldoRun r = kaldoHangUp(home, {"--port", "sim", "--trace=" + traceFile.string()});
  ASSERT_EQ(r.status, kExitOk) << r.out << r.err;
  EXPECT_EQ(r.out, "session finished, modem on hook\n");

  const std::vector<std::string> expected = {
      "[0] * open COM3 @2400",  // the settings' port and speed
      "[0] * dtr 1",
      "[4] * dtr 0",
      "[13] * dtr 1",
      "[50] > +++",  // 9 ticks after DTR is back, then a 28-tick guard time
      "[78] > ATH\\x0D",
      "[106] > +++",
      "[134] > ATH\\x0D",
      "[134] * close",
      "[134] ! session finished, modem on hook",
  };
  EXPECT_EQ(lines(home.read("hangup.trace")), expected);

  // The log is written anew with the one line brevik's "h" start leaves.
  const std::string log = home.read(settings::kUnattendedLogName);
  const std::string done = program::hangUpLogText(Status());
  EXPECT_EQ(log.rfind(done + " ", 0), 0u) << log;
  EXPECT_EQ(log.find("an earlier run"), std::string::npos);
  EXPECT_EQ(log.find(settings::kLogLineEnd), log.size() - settings::kLogLineEnd.size()) << "one line";
}

TEST(KaldoHangUp, RefusesBadCommandLinesAndReportsAPortThatCannotBeOpened) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string errStart;
    bool logsNotHungUp;  // the sequence ran and could not open the port
  };
  const std::vector<Case> cases = {
      {{"--port", "/nonexistent/kaldo-modem"}, kExitFailed, "kaldo hangup: ", true},
      {{"--port", "sim", "now"}, kExitUsage, "kaldo hangup: unexpected argument 'now'", false},
      {{"--port"}, kExitUsage, "kaldo hangup: --port needs a device", false},
      {{"--port", "sim", "--trace=/nonexistent/dir/t.txt"}, kExitFailed, "kaldo hangup: cannot write the trace",
       false},
  };
  for (const Case& c : cases) {
    TempDir home;
    portSettings(home, 1, 9600);
    const KaldoRun r = kaldoHangUp(home, c.args);
    const std::string label = c.args.back();
    EXPECT_EQ(r.status, c.status) << label << "\n" << r.err;
    EXPECT_EQ(r.err.rfind(c.errStart, 0), 0u) << label << "\n" << r.err;
    EXPECT_TRUE(r.out.empty()) << label;
    const bool logged = std::filesystem::exists(home / settings::kUnattendedLogName);
    EXPECT_EQ(logged, c.logsNotHungUp) << label;
    if (logged) {
      EXPECT_EQ(home.read(settings::kUnattendedLogName).rfind("Modem not hung up: ", 0), 0u) << label;
    }
  }
}

TEST(KaldoHangUp, HelpShowsTheUsage) {
  TempDir home;
  const KaldoRun r = kaldoHangUp(home, {"--help"});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(lines(r.out).front(), "usage: kaldo hangup [--port DEVICE] [--trace[=FILE]]");
}

}  // namespace
}  // namespace brevik::cli
