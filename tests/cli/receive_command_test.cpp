// kaldo receive against the virtual logger in-process (virtual time).

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/kaldo_run.h"
#include "datafile/data_file_reader.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using brevik::testing::TempDir;

using kaldo_test::KaldoRun;

KaldoRun kaldoReceive(const TempDir& home, std::vector<std::string> args) {
  return kaldo_test::runKaldoCommand(home, "receive", std::move(args));
}

void normalLinkAt9600(const TempDir& home) {
  settings::LoggerSettings s;
  s.FastProtocol = 0;
  s.BaudRate = 9600;
  s.PortNumber = 1;
  ASSERT_TRUE(settings::saveSettings(home.path(), s));
}

TEST(KaldoReceive, WritesTheDataFileShowsProgressAndTheFinalMessage) {
  TempDir home;
  normalLinkAt9600(home);
  const auto profile = home.write("four.logger", "model = 6\nresolution = 10\nflags = 0x09\n"
                                                 "pointer = 0x1000\nbank = B\nchannels = 0x03\n");
  const auto target = home / "site1a.qx1";
  const KaldoRun r = kaldoReceive(home, {target.string(), "--port", "sim:" + profile.string()});

  EXPECT_EQ(r.status, 0) << r.err;
  // The transfer line alone: the question after it is one kaldo cannot ask.
  const auto said = kaldo_test::lines(r.out);
  ASSERT_EQ(said.size(), 1u) << r.out;
  EXPECT_EQ(said[0].rfind("! Transfert terminé: site1a.qx1, Temps mis   : ", 0), 0u) << r.out;
  EXPECT_TRUE(said[0].ends_with(" seconds")) << r.out;
  // Standard error is no terminal here: plain lines, one per tenth at most.
  EXPECT_EQ(r.err.find('\r'), std::string::npos);
  const auto progress = kaldo_test::lines(r.err);
  EXPECT_LE(std::count_if(progress.begin(), progress.end(),
                          [](const std::string& l) { return l.ends_with(" blocks"); }),
            11)
      << r.err;
  EXPECT_EQ(progress.back(), "  100% 1720/1720 blocks");
  auto file = datafile::readLoggerDataFile(target);
  ASSERT_TRUE(file) << file.error().message;
  EXPECT_EQ(file->banks.size(), 4u);
  EXPECT_EQ(file->banks[0].letter, 'B');
  EXPECT_EQ(file->banks[0].loadedSamples(), 25800u / 2u);
}

// Three banks at 10 minutes span months: dates that said one day made the
// export warn that the file held more lines than its times allow.
TEST(KaldoReceive, AShippedThreeBankDownloadExportsWhole) {
  TempDir home;
  normalLinkAt9600(home);
  const auto data = home / "k6.qx1";
  const KaldoRun received = kaldoReceive(home, {data.string(), "--port", "sim:kaldo6-8bit"});
  ASSERT_EQ(received.status, 0) << received.err;

  const auto table = home / "k6.txt";
  const KaldoRun exported = kaldo_test::runKaldoCommand(home, "export", {data.string(), table.string()});
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(exported.err.find("4% or more"), std::string::npos) << exported.err;
}

TEST(KaldoReceive, AFailingLoggerExitsWithOneAndKeepsTheEarlierFile) {
  TempDir home;
  normalLinkAt9600(home);
  const auto profile = home.write("silent.logger", "resolution = 8\nfaults = badsum:1\n");
  const auto earlier = home.write("site1a.qx1", "earlier\r\n");
  const KaldoRun r = kaldoReceive(home, {earlier.string(), "--port=sim:" + profile.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(home.read("site1a.qx1"), "earlier\r\n");
  EXPECT_NE(r.out.find("!"), std::string::npos) << "the failure is told on standard output";
}

TEST(KaldoReceive, UsageErrors) {
  TempDir home;
  EXPECT_EQ(kaldoReceive(home, {}).status, 2);
  EXPECT_EQ(kaldoReceive(home, {"a.qx1", "b.qx1"}).status, 2);
  EXPECT_EQ(kaldoReceive(home, {"a.qx1", "--port"}).status, 2);
  EXPECT_EQ(kaldoReceive(home, {"a.qx1", "--frobnicate"}).status, 2);
}

}  // namespace
}  // namespace brevik::cli
