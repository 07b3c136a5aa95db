// kaldo status against the virtual logger in-process (virtual time).

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/kaldo_run.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using brevik::testing::TempDir;

using kaldo_test::KaldoRun;

KaldoRun kaldoStatus(const TempDir& home, std::vector<std::string> args) {
  return kaldo_test::runKaldoCommand(home, "status", std::move(args));
}

using kaldo_test::lines;

bool hasLine(const std::vector<std::string>& ls, const std::string& line) {
  return std::find(ls.begin(), ls.end(), line) != ls.end();
}

// The home's link settings: what the exchange runs with.
void linkSettings(const TempDir& home, bool fast, std::uint32_t baud, bool network = false,
                  std::uint8_t station = 0) {
  settings::LoggerSettings s;
  s.FastProtocol = fast ? 1 : 0;
  s.BaudRate = baud;
  s.NetworkMode = network ? 1 : 0;
  s.StationAddress = station;
  s.PortNumber = 1;
  ASSERT_TRUE(settings::saveSettings(home.path(), s));
}

TEST(KaldoStatus, ReadsTheVirtualLoggerAndPrintsTheFormThenTheSchedule) {
  TempDir home;
  linkSettings(home, false, 9600);
  const auto profile = home.write("daily.logger",
                                  "descriptions = Air|Sol|Eau|Pression\n"
                                  "schedule = 993012000000\n");
  const KaldoRun r = kaldoStatus(home, {"--port", "sim:" + profile.string()});
  ASSERT_EQ(r.status, kExitOk) << r.out << r.err;
  const auto printed = lines(r.out);
  ASSERT_GE(printed.size(), 30u);
  EXPECT_EQ(printed.front(), "ModelBox: KALDO     12 bit");
  EXPECT_TRUE(hasLine(printed, "RevBox:  q"));
  EXPECT_TRUE(hasLine(printed, "Desc1Box: Air"));
  EXPECT_EQ(printed.back(), "Schedule: Daily dialout at 12:30");
  EXPECT_EQ(r.out.find("! "), std::string::npos) << "nothing to report on success";
  EXPECT_NE(r.err.find("Establishing link..."), std::string::npos) << "progress goes to stderr";
}

// A newcomer's first command: no settings file yet, the bare virtual logger.
TEST(KaldoStatus, AFreshHomeReadsTheDefaultVirtualLogger) {
  TempDir home;
  const KaldoRun r = kaldoStatus(home, {"--port", "sim"});
  ASSERT_EQ(r.status, kExitOk) << r.out << r.err;
  const auto printed = lines(r.out);
  ASSERT_FALSE(printed.empty());
  EXPECT_EQ(printed.front(), "ModelBox: KALDO     12 bit");
  EXPECT_TRUE(hasLine(printed, "IdStatBox: Brevik demo site")) << r.out;
}

TEST(KaldoStatus, FastProtocolAndANetworkStation) {
  TempDir home;
  linkSettings(home, true, 57600);
  EXPECT_EQ(kaldoStatus(home, {"--port", "sim:kaldo5-12bit"}).status, kExitOk);

  linkSettings(home, false, 9600, true, 12);
  EXPECT_EQ(kaldoStatus(home, {"--port=sim:network-station12"}).status, kExitOk);
  linkSettings(home, false, 9600, true, 13);
  const KaldoRun other = kaldoStatus(home, {"--port=sim:network-station12"});
  EXPECT_EQ(other.status, kExitFailed) << "station 13 is not on the line";
  EXPECT_EQ(other.out.find("ModelBox"), std::string::npos);
}

TEST(KaldoStatus, TheHomesPortMapChoosesTheDevice) {
  TempDir home;
  linkSettings(home, false, 9600);
  home.write("ports.ini", "COM1=sim:normal-9600\n");
  EXPECT_EQ(kaldoStatus(home, {}).status, kExitOk);
  home.write("ports.ini", "COM1=sim:no-such-profile\n");
  const KaldoRun r = kaldoStatus(home, {});
  EXPECT_EQ(r.status, kExitFailed) << "a bad map entry is a failure, not a usage error";
  EXPECT_FALSE(r.err.empty());
}

TEST(KaldoStatus, ASilentLoggerFailsWithTheEnginesMessage) {
  TempDir home;
  linkSettings(home, false, 9600);
  const auto silent = home.write("silent.logger", "faults = silence:1\n");
  const KaldoRun r = kaldoStatus(home, {"--port", "sim:" + silent.string()});
  EXPECT_EQ(r.status, kExitFailed);
  const auto printed = lines(r.out);
  ASSERT_EQ(printed.size(), 1u) << r.out;
  EXPECT_EQ(printed[0].rfind("! ", 0), 0u);
  EXPECT_NE(printed[0].find("KALDO"), std::string::npos) << printed[0];
  EXPECT_EQ(r.err.find("virtual logger answers"), std::string::npos) << "the settings fit: " << r.err;
}

// A logger woken with the wrong protocol or baud can only be reported as
// silent; on the virtual logger kaldo adds what it answers, and the settings
// it names then reach it.
TEST(KaldoStatus, ALinkTheVirtualLoggerCannotAnswerIsExplained) {
  struct Case {
    std::vector<std::string> command;  // "@": a file in the home
    bool fast;
    std::uint32_t baud;
    std::string profile, hint;  // no hint: the exchange succeeds
  };
  const std::string answers = "the virtual logger answers the ";
  const Case cases[] = {
      {{"status"}, true, 57600, "normal-9600",
       answers + "normal protocol at 9600 baud; the settings say fast at 57600 (kaldo settings FastProtocol=0 "
                 "BaudRate=9600)"},
      {{"status"}, false, 9600, "default",
       answers + "fast protocol at 19200 baud; the settings say normal at 9600 (kaldo settings FastProtocol=1 "
                 "BaudRate=19200)"},
      {{"status"}, false, 4800, "normal-9600",
       answers + "normal protocol at 9600 baud; the settings say normal at 4800 (kaldo settings BaudRate=9600)"},
      {{"receive", "@"}, true, 19200, "kaldo5-12bit",
       answers + "fast protocol at 57600 baud; the settings say fast at 19200 (kaldo settings BaudRate=57600)"},
      {{"setup", "from-status", "@"}, true, 19200, "normal-9600",
       answers + "normal protocol at 9600 baud; the settings say fast at 19200 (kaldo settings FastProtocol=0 "
                 "BaudRate=9600)"},
      // The old letter handshake lets the PC name the baud: nothing to explain.
      {{"status"}, false, 9600, "mt610-old", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command.front() + " " + c.profile);
    TempDir home;
    linkSettings(home, c.fast, c.baud);
    std::vector<std::string> args(c.command.begin() + 1, c.command.end());
    std::replace(args.begin(), args.end(), std::string("@"), (home / "out.file").string());
    args.push_back("--port=sim:" + c.profile);
    const std::string name = c.command.size() > 2 ? "setup from-status" : c.command.front();

    const KaldoRun r = kaldo_test::runKaldoCommand(home, c.command.front(), args);
    const auto said = lines(r.err);
    ASSERT_EQ(std::count_if(said.begin(), said.end(), [&](auto& l) { return l.find(answers) != l.npos; }),
              c.hint.empty() ? 0 : 1)
        << r.err;
    EXPECT_EQ(r.status, c.hint.empty() ? kExitOk : kExitFailed) << r.out << r.err;
    if (c.hint.empty()) continue;
    EXPECT_EQ(said.back(), "kaldo " + name + ": " + c.hint);

    // Following the hint reaches the logger.
    const std::string suggested = c.hint.substr(c.hint.find("(kaldo settings ") + 16);
    std::istringstream words(suggested.substr(0, suggested.size() - 1));
    std::vector<std::string> pairs;
    for (std::string w; words >> w;) pairs.push_back(w);
    ASSERT_EQ(kaldo_test::runKaldoCommand(home, "settings", pairs).status, kExitOk) << c.hint;
    std::filesystem::remove(home / "out.file");
    EXPECT_EQ(kaldo_test::runKaldoCommand(home, c.command.front(), args).status, kExitOk);
  }
}

TEST(KaldoStatus, TraceGoesToAFileInTheExchangeFormat) {
  TempDir home;
  linkSettings(home, false, 9600);
  const auto traceFile = home.path() / "trace.txt";
  const KaldoRun r = kaldoStatus(home, {"--port", "sim:normal-9600", "--trace=" + traceFile.string()});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  const std::string trace = home.read("trace.txt");
  const auto t = lines(trace);
  ASSERT_FALSE(t.empty());
  EXPECT_EQ(t.front(), "[0] * open Status");
  EXPECT_TRUE(hasLine(t, "[0] > wake 55 250x2 @1200"));
  EXPECT_NE(trace.find("] > >C005D"), std::string::npos);
  EXPECT_NE(trace.find("] < \\x80"), std::string::npos);
  EXPECT_EQ(r.err.find("] > >C005D"), std::string::npos) << "not on stderr as well";
}

TEST(KaldoStatus, BadUsage) {
  TempDir home;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--bogus"}, {"--port"}, {"--port", ""}, {"extra"}, {"--port", "sim:no-such-profile"}}) {
    const KaldoRun r = kaldoStatus(home, args);
    EXPECT_EQ(r.status, kExitUsage) << args.front();
    EXPECT_TRUE(r.out.empty());
    EXPECT_FALSE(r.err.empty());
  }
}

}  // namespace
}  // namespace brevik::cli
