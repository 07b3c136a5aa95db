// kaldo answer on the virtual modem, and the commands that dial: one call
// for one command, hung up before kaldo ends.

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <iostream>
#include <sstream>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#if defined(__linux__)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <nlohmann/json.hpp>

#include "cli/kaldo_run.h"
#include "common/cp1252.h"
#include "settings/logger_settings.h"
#include "support/answer_soak.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using kaldo_test::lines;
using kaldo_test::runKaldoCommand;
using testing::TempDir;

void modemSettings(const TempDir& home) {
  const auto set = runKaldoCommand(home, "settings",
                                   {"UseModem=1", "AutoAnswer=1", "FastProtocol=0", "BaudRate=9600",
                                    "PhoneNumber=5551234"});
  ASSERT_EQ(set.status, kExitOk) << set.err;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// QXLOG.TXT's lines without their CR LF.
std::vector<std::string> logLines(const TempDir& home) {
  std::vector<std::string> out;
  const std::string text = readFile(home / "QXLOG.TXT");
  std::size_t from = 0;
  for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2)
    out.push_back(text.substr(from, end - from));
  return out;
}

TEST(AnswerCommand, ServesTheCallsOfTheSitesAndPrintsEveryLineItLogs) {
  TempDir home;
  modemSettings(home);
  const auto r = runKaldoCommand(home, "answer", {"--port", "sim:site-calls", "--calls", "4"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  const auto log = logLines(home);
  const auto printed = lines(r.out);
  // ok and empty log their result and then the configuration sent again;
  // silent and garbled one failure each.
  ASSERT_EQ(log.size(), 6u) << r.out;
  ASSERT_EQ(printed.size(), log.size());
  EXPECT_EQ(printed[0], log[0]);
  EXPECT_EQ(log[0].rfind("Rec. A000001.qx1 ", 0), 0u);
  EXPECT_EQ(log[1].rfind("Sent A000001.qx1 ", 0), 0u);
  EXPECT_EQ(log[2].rfind("Pas de donn", 0), 0u);
  EXPECT_EQ(log[3].rfind("Sent A000002.qx1 ", 0), 0u);
  EXPECT_EQ(log[4].rfind("No response from logger", 0), 0u);
  EXPECT_EQ(log[5].rfind("Rec. aborted; excessive comm. errors: A000003.qx1,", 0), 0u);
  EXPECT_TRUE(std::filesystem::exists(home / "A000001.qx1"));
  EXPECT_FALSE(std::filesystem::exists(home / "A000002.qx1"));
  EXPECT_FALSE(std::filesystem::exists(home / "A000003.qx1"));
  // The counter is kept for the next run.
  EXPECT_EQ(settings::loadSettings(home.path()).AutoFileCounter, 3u);
}

TEST(AnswerCommand, JsonGivesOneObjectALineForEachLineLogged) {
  TempDir home;
  modemSettings(home);
  const auto r = runKaldoCommand(home, "answer", {"--port", "sim:site-calls", "--calls", "2", "--json"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  const auto log = logLines(home);
  const auto printed = lines(r.out);
  ASSERT_EQ(printed.size(), log.size()) << r.out;
  ASSERT_FALSE(printed.empty());
  for (std::size_t i = 0; i < printed.size(); ++i) {
    const auto item = nlohmann::json::parse(printed[i]);
    const std::string logged = toUtf8(log[i]);
    EXPECT_EQ(item["logLine"], logged);
    EXPECT_EQ(logged.rfind(item["text"].get<std::string>() + " ", 0), 0u) << logged;
    const std::string stamp = item["stamp"].get<std::string>();
    EXPECT_TRUE(stamp.size() >= 19 && stamp[10] == 'T') << stamp;
  }
}

TEST(AnswerCommand, RefusesABadCommandLine) {
  TempDir home;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--calls"}, {"--calls", "0"}, {"--calls=x"}, {"--calls", "2", "site"}, {"--port"}}) {
    const auto r = runKaldoCommand(home, "answer", args);
    EXPECT_EQ(r.status, kExitUsage) << ::testing::PrintToString(args);
    EXPECT_NE(r.err.find("usage: kaldo answer [--port DEVICE] [--calls N]"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(home / "QXLOG.TXT"));
  }
}

#if defined(__linux__)
// A service manager stops the command with SIGTERM: the call in progress is
// cut, the modem hung up, and kaldo ends with 0. Run in a child process,
// which serves calls until the signal comes.
TEST(AnswerCommand, EndsCleanlyOnSigterm) {
  TempDir home;
  modemSettings(home);
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeFds[0]);
    ::dup2(pipeFds[1], 1);
    ::alarm(60);  // a child that never gets going must not hold the suite
    std::ostringstream err;
    const int rc = runKaldo({"--home", home.path().string(), "answer", "--port", "sim:site-calls"},
                            home.path() / "bin", std::cout, err);
    std::cout.flush();
    ::_exit(rc);
  }
  ::close(pipeFds[1]);
  // The first call's first log line: the loop runs and listens for signals.
  std::string firstLine;
  for (char c; ::read(pipeFds[0], &c, 1) == 1 && c != '\n';) firstLine += c;
  ::kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::close(pipeFds[0]);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kExitOk);
  EXPECT_EQ(firstLine.rfind("Rec. A000001.qx1", 0), 0u) << firstLine;
  for (const auto& e : std::filesystem::directory_iterator(home.path()))
    EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << e.path();
}
#endif

struct DialledCommand {
  const char* name;
  std::vector<std::string> args;  // before --port and --trace
};

class OneCallPerCommand : public ::testing::TestWithParam<DialledCommand> {};

TEST_P(OneCallPerCommand, DialsOnceAndHangsUpBeforeEnding) {
  const DialledCommand c = GetParam();
  TempDir home;
  modemSettings(home);
  const auto made = runKaldoCommand(home, "setup", {"new", (home / "site.set").string(), "--force"});
  ASSERT_EQ(made.status, kExitOk) << made.err;
  std::vector<std::string> args = c.args;
  for (auto& a : args)
    if (a.rfind("HOME/", 0) == 0) a = (home / a.substr(5)).string();
  const auto traceFile = home / "trace.txt";
  args.insert(args.end(), {"--port", "sim:hayes-modem", "--trace=" + traceFile.string()});
  const auto r = runKaldoCommand(home, c.name, args);
  ASSERT_EQ(r.status, kExitOk) << r.out << r.err;
  const auto trace = lines(readFile(traceFile));
  const auto count = [&](std::string_view part) {
    return std::count_if(trace.begin(), trace.end(),
                         [&](const std::string& l) { return l.find(part) != std::string::npos; });
  };
  EXPECT_EQ(count("> ATDT 5551234"), 1);
  EXPECT_EQ(count("state Connected"), 1);
  ASSERT_EQ(count("hang up"), 1);
  // The hang-up is the end: DTR pulsed, then the port closed.
  const auto at = std::find_if(trace.begin(), trace.end(),
                               [](const std::string& l) { return l.find("hang up") != std::string::npos; });
  std::vector<std::string> tail(at, trace.end());
  ASSERT_EQ(tail.size(), 5u) << ::testing::PrintToString(trace);
  EXPECT_EQ(tail[0], "[0] * hang up");
  EXPECT_EQ(tail[1], "[0] * dtr 1");
  EXPECT_EQ(tail[2], "[4] * dtr 0");
  EXPECT_EQ(tail[3], "[13] * dtr 1");
  EXPECT_EQ(tail[4], "[22] * close");
}

INSTANTIATE_TEST_SUITE_P(StatusReceiveAndSend, OneCallPerCommand,
                         ::testing::Values(DialledCommand{"status", {}},
                                           DialledCommand{"receive", {"HOME/site.qx1"}},
                                           DialledCommand{"send-setup", {"HOME/site.set", "--yes"}}),
                         [](const auto& param) {
                           std::string name = param.param.name;
                           name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                           return name;
                         });

// The soak of tools/answer-soak.sh, short: every kind of call several times.
TEST(AnswerSoak, EveryCallLogsItsOutcomeOnlyCallsWithDataLeaveAFileAndNothingLeaks) {
  TempDir home;
  const soak::SoakResult r = soak::runAnswerSoak(home / "home", 24, home / "bin");
  ASSERT_EQ(r.status, kExitOk) << r.errors;
  EXPECT_EQ(r.plan.served, 24u);
  EXPECT_EQ(r.plan.callsWithData, 5u);
  EXPECT_EQ(r.logLines, r.plan.logLines);
  EXPECT_EQ(r.printedLines, r.plan.logLines);
  EXPECT_EQ(r.dataFiles, r.plan.callsWithData);
  EXPECT_EQ(r.partialFiles, 0u);
  EXPECT_EQ(r.end.openFds, r.start.openFds);
  EXPECT_TRUE(r.goalsMet());
}

}  // namespace
}  // namespace brevik::cli
