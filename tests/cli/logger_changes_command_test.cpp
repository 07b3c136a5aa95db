// kaldo station-address and change-baud against the virtual logger in-process
// (virtual time): the exchanges, what a status read on the same logger shows
// afterwards, and the command lines refused.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "settings/home.h"
#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/console_status_steps.h"
#include "cli/kaldo_run.h"
#include "cli/link_session.h"
#include "cli/logger_changes.h"
#include "common/clock.h"
#include "common/cp1252.h"
#include "link/status_reply_flow.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using brevik::testing::TempDir;
using kaldo_test::KaldoRun;
using kaldo_test::lines;

struct LinkSettings {
  bool fast = false;
  std::uint32_t baud = 9600;
  bool network = false;
  bool modem = false;
};

void storeSettings(const TempDir& home, const LinkSettings& l) {
  settings::LoggerSettings s;
  s.FastProtocol = l.fast ? 1 : 0;
  s.BaudRate = l.baud;
  s.NetworkMode = l.network ? 1 : 0;
  s.UseModem = l.modem ? 1 : 0;
  s.PortNumber = 1;
  ASSERT_TRUE(settings::saveSettings(home.path(), s));
}

TEST(KaldoLoggerChanges, BothExchangesRunAgainstTheVirtualLogger) {
  struct Case {
    std::vector<std::string> command;
    std::string profile;  // a shipped one, or a file of faults written into the home
    LinkSettings link;
    int status;
    std::string message;  // the one "! " line (UTF-8)
    std::uint32_t savedBaud;
    // The rates the port is set to after it opens: the normal protocol's
    // switch to the working rate, or the baud change's ladder.
    std::vector<std::string> portBauds;
  };
  const Case cases[] = {
      {{"station-address", "7"}, "normal-9600", {}, kExitOk, "Station Address #7 programmed into logger.", 9600,
       {"9600"}},
      {{"station-address", "255"}, "kaldo5-12bit", {true, 57600}, kExitOk,
       "Station Address #255 programmed into logger.", 57600, {}},
      {{"station-address", "7"}, "mt53-rev-n", {false, 4800}, kExitFailed,
       "This Brevik Logger can not be networked.  Contact factory for upgrade.", 4800, {"4800"}},
      // Woken at 28800, the logger at 9600 answers on the second rate down.
      {{"change-baud", "19200"}, "normal-9600", {}, kExitOk, "Appareil réglé avec  19200 baud.", 19200,
       {"19200", "9600"}},
      {{"change-baud", "57600"}, "default", {true, 19200}, kExitOk, "Appareil réglé avec  57600 baud.", 57600,
       {"19200"}},
      // A logger that never answers: every rate of the ladder, and the
      // settings take the new rate all the same.
      {{"change-baud", "4800"}, "@faults = silence:1\n", {}, kExitFailed, "No response from logger (b)", 4800,
       {"19200", "9600", "4800", "2400", "1200"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command[0] + " " + c.command[1] + " on " + c.profile);
    TempDir home;
    storeSettings(home, c.link);
    std::string profile = c.profile;
    if (profile[0] == '@') profile = home.write("odd.logger", profile.substr(1)).string();
    const auto trace = home / "trace.txt";
    const KaldoRun r = kaldo_test::runKaldoCommand(
        home, c.command[0], {c.command[1], "--port", "sim:" + profile, "--trace=" + trace.string()});
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    EXPECT_EQ(lines(r.out), std::vector<std::string>{"! " + c.message});
    EXPECT_EQ(settings::loadSettings(home.path()).BaudRate, c.savedBaud);
    std::vector<std::string> bauds;
    for (const std::string& line : lines(home.read("trace.txt"))) {
      const auto at = line.find("* baud ");
      if (at != std::string::npos) bauds.push_back(line.substr(at + 7));
    }
    if (!bauds.empty()) bauds.erase(bauds.begin());  // the rate the port opens at
    EXPECT_EQ(bauds, c.portBauds);
  }
}

// One virtual logger for the change and the status read after it, as a real
// logger keeps its address and rate from one kaldo run to the next.
class SameLogger {
 public:
  SameLogger(const std::string& profile, const LinkSettings& link) {
    // The scaling tables a status is decoded with, as kaldo seeds them.
    EXPECT_TRUE(settings::seedHome(home_.path(), brevik::testing::dataDir()));
    storeSettings(home_, link);
    settings_ = settings::loadSettings(home_.path());
    ctx_.home = home_.path();
    ctx_.executableDir = home_.path() / "bin";
    ctx_.out = &out_;
    ctx_.err = &err_;
    LinkOptions options;
    options.port = "sim:" + profile;
    session_ = std::make_unique<LinkSession>(ctx_, "test", settings_, options, clock_);
  }

  LinkSession& session() { return *session_; }
  settings::LoggerSettings& settings() { return settings_; }

  // The station address the status shows, or nothing when no status came.
  std::optional<int> readStatus() {
    ConsoleStatusSteps steps(settings_, home_.path(), clock_);
    link::StatusReplyFlow flow(session_->engine(), steps);
    session_->engine().setStatusReplyHandler(&flow);
    const auto outcome = session_->run(link::ExchangeRequest{});
    session_->engine().setStatusReplyHandler(nullptr);
    if (!outcome || !steps.status()) return std::nullopt;
    return steps.status()->stationAddress;
  }

 private:
  TempDir home_;
  std::ostringstream out_, err_;
  Context ctx_;
  settings::LoggerSettings settings_;
  SystemClock clock_;
  std::unique_ptr<LinkSession> session_;
};

TEST(KaldoLoggerChanges, AStatusReadAfterwardsShowsTheNewAddress) {
  SameLogger logger("normal-9600", {});
  ASSERT_TRUE(logger.session().ready());
  EXPECT_EQ(logger.readStatus(), 0);
  const auto outcome = programStationAddress(logger.session(), 42);
  ASSERT_TRUE(outcome);
  EXPECT_TRUE(outcome->succeeded);
  EXPECT_EQ(logger.settings().StationAddress, 1) << "the settings keep their own address";
  EXPECT_EQ(logger.readStatus(), 42);

  logger.settings().NetworkMode = 1;
  logger.settings().StationAddress = 42;
  EXPECT_EQ(logger.readStatus(), 42) << "the logger answers at its new address";
  logger.settings().StationAddress = 1;
  EXPECT_EQ(logger.readStatus(), std::nullopt) << "and not at another";
}

TEST(KaldoLoggerChanges, AStatusReadAfterwardsWorksAtTheNewBaud) {
  SameLogger logger("normal-9600", {});
  ASSERT_TRUE(logger.session().ready());
  const auto outcome = changeLoggerBaud(logger.session(), 4800);
  ASSERT_TRUE(outcome);
  EXPECT_TRUE(outcome->succeeded);
  EXPECT_EQ(logger.settings().BaudRate, 4800u);
  EXPECT_TRUE(logger.readStatus()) << "at 4800, the logger's new rate";
  logger.settings().BaudRate = 9600;
  EXPECT_FALSE(logger.readStatus()) << "no longer at its old rate";
}

TEST(KaldoLoggerChanges, BadUsageAndRefusals) {
  struct Case {
    std::vector<std::string> args;
    LinkSettings link;
    int status;
    std::string said;  // part of what is printed (stdout or stderr)
  };
  const Case cases[] = {
      {{"station-address"}, {}, kExitUsage, "usage: kaldo station-address N"},
      {{"station-address", "256"}, {}, kExitUsage, "'256' is not a station address (0 to 255)"},
      {{"station-address", "-1"}, {}, kExitUsage, "not a station address"},
      {{"station-address", "7x"}, {}, kExitUsage, "not a station address"},
      {{"station-address", "0007"}, {}, kExitUsage, "not a station address"},
      {{"station-address", ""}, {}, kExitUsage, "not a station address"},
      {{"station-address", "7", "8"}, {}, kExitUsage, "usage: kaldo station-address N"},
      {{"station-address", "7", "--port"}, {}, kExitUsage, "--port needs a device"},
      {{"station-address", "7", "--port", "sim:no-such-profile"}, {}, kExitUsage, "no-such-profile"},
      {{"station-address", "7", "--port", "sim"}, {false, 9600, true}, kExitFailed,
       "! Must be connected to a single logger; check Settings"},
      {{"change-baud"}, {}, kExitUsage, "usage: kaldo change-baud BAUD"},
      {{"change-baud", "14400"}, {}, kExitUsage,
       "'14400' is not a baud rate the logger runs at (1200, 2400, 4800, 9600, 19200, 28800, 38400, 57600)"},
      {{"change-baud", "fast"}, {}, kExitUsage, "not a baud rate"},
      {{"change-baud", "019200"}, {}, kExitUsage, "not a baud rate"},
      {{"change-baud", "28800", "--port", "sim"}, {}, kExitUsage, "only supported by MT7xx Protocol"},
      {{"change-baud", "9600", "--port", "sim"}, {true, 19200, true, true}, kExitFailed,
       "! Must first uncheck 'Use Modem' in Settings"},
      {{"station-address", "--help"}, {}, kExitOk, "usage: kaldo station-address N [--port DEVICE]"},
      {{"change-baud", "--help"}, {}, kExitOk, "usage: kaldo change-baud BAUD [--port DEVICE]"},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const auto& a : c.args) line += a + " ";
    SCOPED_TRACE(line);
    TempDir home;
    storeSettings(home, c.link);
    const std::string before = home.read("kvlog.ini");
    const KaldoRun r = kaldo_test::runKaldoCommand(home, c.args[0], {c.args.begin() + 1, c.args.end()});
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    EXPECT_NE((r.out + r.err).find(c.said), std::string::npos) << r.out << r.err;
    EXPECT_EQ(r.err.find("Establishing link"), std::string::npos) << "nothing was sent";
    EXPECT_EQ(home.read("kvlog.ini"), before) << "the settings are untouched";
  }
}

}  // namespace
}  // namespace brevik::cli
