#include <gtest/gtest.h>

#include <sstream>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "setup/setup_file.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using testing::TempDir;

struct KaldoRun {
  int rc;
  std::string out, err;
};

KaldoRun kaldo(const TempDir& home, std::vector<std::string> args) {
  args.insert(args.begin(), {"--home", home.path().string()});
  std::ostringstream out, err;
  const int rc = runKaldo(args, home.path() / "bin", out, err);
  return {rc, out.str(), err.str()};
}

// The normal wake-up at `baud`: what the virtual logger normal-9600 answers at 9600.
void linkSettings(const TempDir& home, std::uint32_t baud, char lastRevision = 'q') {
  settings::LoggerSettings s;
  s.FastProtocol = 0;
  s.BaudRate = baud;
  s.NetworkMode = 0;
  s.PortNumber = 1;
  s.LastRevision = lastRevision;
  ASSERT_TRUE(settings::saveSettings(home.path(), s));
}

std::string setupFile(const TempDir& home, std::vector<std::string> fields) {
  const std::string file = (home / "site.set").string();
  EXPECT_EQ(kaldo(home, {"setup", "new", file, "--force"}).rc, kExitOk);
  if (!fields.empty()) {
    fields.insert(fields.begin(), {"setup", "set", file});
    const KaldoRun set = kaldo(home, fields);
    EXPECT_EQ(set.rc, kExitOk) << set.err;
  }
  return file;
}

TEST(KaldoSendSetup, SendsToTheVirtualLogger) {
  TempDir home;
  linkSettings(home, 9600);
  const std::string file = setupFile(home, {"RateCode=G", "SessionDescription=Serre nord"});
  const auto trace = home / "trace.txt";
  const KaldoRun r = kaldo(home, {"send-setup", file, "--port", "sim:normal-9600", "--yes", "--trace=" + trace.string()});
  ASSERT_EQ(r.rc, kExitOk) << r.out << r.err;
  EXPECT_NE(r.out.find("? La mémoire va être effacée et"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("! EnregisKaldo "), std::string::npos) << r.out;
  const std::string sent = home.read("trace.txt");
  EXPECT_NE(sent.find("GO@Serre nord"), std::string::npos) << sent;
  EXPECT_NE(sent.find("> >2Channel 1"), std::string::npos) << sent;
  EXPECT_NE(sent.find("> >4C           "), std::string::npos) << sent;
}

TEST(KaldoSendSetup, LabelsOnlyAsksNothingAndSendsTheKHeader) {
  TempDir home;
  linkSettings(home, 9600);
  const std::string file = setupFile(home, {});
  const auto trace = home / "trace.txt";
  const KaldoRun r = kaldo(home, {"send-setup", file, "--port=sim:normal-9600", "--labels-only", "--trace=" + trace.string()});
  ASSERT_EQ(r.rc, kExitOk) << r.out << r.err;
  EXPECT_EQ(r.out.find("? "), std::string::npos);
  EXPECT_NE(home.read("trace.txt").find("> >K"), std::string::npos);
}

TEST(KaldoSendSetup, RefusalsOfTheChecksAndTheFirmware) {
  TempDir home;
  linkSettings(home, 9600);
  // Ten readings a second in a ring: refused before anything is opened.
  const std::string ring = setupFile(home, {"RateCode=8", "ModeByte=1"});
  const KaldoRun refused = kaldo(home, {"send-setup", ring, "--port", "sim:normal-9600", "--yes"});
  EXPECT_EQ(refused.rc, kExitFailed);
  EXPECT_NE(refused.out.find("! Mauvaise config : impossible  en mode mem. tournant"), std::string::npos);
  EXPECT_NE(refused.err.find("not sent"), std::string::npos);

  // The last logger seen was a revision 'G': ten a second needs 'H'.
  linkSettings(home, 9600, 'G');
  const std::string fast = setupFile(home, {"RateCode=8"});
  const KaldoRun unsupported = kaldo(home, {"send-setup", fast, "--port", "sim:normal-9600", "--yes"});
  EXPECT_EQ(unsupported.rc, kExitFailed);
  EXPECT_NE(unsupported.out.find("! Logger does not support selected sample rate"), std::string::npos)
      << unsupported.out;
}

TEST(KaldoSendSetup, Usage) {
  TempDir home;
  linkSettings(home, 9600);
  const std::string file = setupFile(home, {});
  EXPECT_EQ(kaldo(home, {"send-setup"}).rc, kExitUsage);
  EXPECT_EQ(kaldo(home, {"send-setup", file, "--bogus"}).rc, kExitUsage);
  EXPECT_EQ(kaldo(home, {"send-setup", file, "--port"}).rc, kExitUsage);
  EXPECT_EQ(kaldo(home, {"send-setup", (home / "none.set").string(), "--yes", "--port", "sim:normal-9600"}).rc, kExitFailed);
#if !defined(_WIN32)
  if (isatty(STDIN_FILENO)) GTEST_SKIP() << "standard input is a terminal here";
#endif
  const KaldoRun r = kaldo(home, {"send-setup", file, "--port", "sim:normal-9600"});
  EXPECT_EQ(r.rc, kExitUsage);
  EXPECT_NE(r.err.find("--yes"), std::string::npos);
}

TEST(KaldoSetupFromStatus, SavesTheLoggersSetUp) {
  TempDir home;
  linkSettings(home, 4800);
  const std::string file = (home / "from.set").string();
  const KaldoRun r = kaldo(home, {"setup", "from-status", file, "--port", "sim:mt53-rev-n"});
  ASSERT_EQ(r.rc, kExitOk) << r.out << r.err;
  const auto record = setup::readSetupFile(home / "from.set");
  ASSERT_TRUE(record.ok());
  EXPECT_EQ(record->scaleCode(3), '3');
  EXPECT_EQ(record->scaleText(3), "   0.0  10.0");
  EXPECT_EQ(record->scaleCode(4), 'X');
  EXPECT_EQ(record->resolution(), 0);  // an MT53 has no resolution choice
  EXPECT_EQ(kaldo(home, {"setup", "from-status", file, "--port", "sim:mt53-rev-n"}).rc, kExitFailed);
  EXPECT_EQ(kaldo(home, {"setup", "from-status", file, "--force", "--port", "sim:mt53-rev-n"}).rc, kExitOk);
}

}  // namespace
}  // namespace brevik::cli
