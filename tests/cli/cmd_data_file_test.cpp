#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "support/data_file_builder.h"
#include "protocol/vocabulary.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

struct Outcome {
  int rc;
  std::string out;
  std::string err;
};

Outcome run(const brevik::testing::TempDir& dir, std::vector<std::string> args) {
  args.insert(args.begin(), {"--home", (dir / "home").string()});
  std::ostringstream out, err;
  const int rc = runKaldo(args, {}, out, err);
  return {rc, out.str(), err.str()};
}

using fixtures::twoBankFile;

TEST(DataFileCommands, InfoNamesTheFieldsChannelsAndBanks) {
  brevik::testing::TempDir dir;
  const auto path = dir.write("site.qx1", twoBankFile());
  const Outcome r = run(dir, {"info", path.string()});
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  for (const char* expected :
       {"Session:              Well4;siteB\n", "Model:                KALDO-M 12 bit\n",
        "Reference resistor:   30100 ohms\n", "Rate code:            71 (1 minute)\n",
        "Memory pointer:       521\n", "Phase byte:           4\n", "Channels:             1 3\n",
        "Resolution:           12 bit\n", "Wrap mode:            no\n",
        "Bank A:               10752 samples per channel\n", "Bank B:               3 samples per channel\n",
        "Eq. PC time:          Wed  4-Jun-2003 10:01:05\n", "Scaling 2:            \"  0.00100.00\"\n"})
    EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
}

TEST(DataFileCommands, SamplesPrintsOneLinePerInstantAcrossBanks) {
  brevik::testing::TempDir dir;
  const auto path = dir.write("site.qx1", twoBankFile());
  const Outcome r = run(dir, {"samples", path.string()});
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  const auto ramp = fixtures::rampSamples(21504, 4095);
  std::istringstream lines(r.out);
  std::string line;
  std::vector<std::string> all;
  while (std::getline(lines, line)) all.push_back(line);
  ASSERT_EQ(all.size(), 10752u + 3u);
  EXPECT_EQ(all[0], std::to_string(ramp[0]) + "\t" + std::to_string(ramp[1]));
  EXPECT_EQ(all[10751], std::to_string(ramp[21502]) + "\t" + std::to_string(ramp[21503]));
  EXPECT_EQ(all[10752], "10\t20");
  EXPECT_EQ(all[10754], "12\t22");
}

TEST(DataFileCommands, FailuresAndUsage) {
  brevik::testing::TempDir dir;
  Outcome r = run(dir, {"samples", (dir / "missing.qx1").string()});
  EXPECT_EQ(r.rc, kExitFailed);
  EXPECT_NE(r.err.find("not found"), std::string::npos);
  const auto bad = dir.write("bad.qx1", "C\r\nx\r\n");
  r = run(dir, {"info", bad.string()});
  EXPECT_EQ(r.rc, kExitFailed);
  EXPECT_NE(r.err.find("Bad date format"), std::string::npos) << r.err;
  EXPECT_EQ(run(dir, {"info"}).rc, kExitUsage);
  EXPECT_EQ(run(dir, {"samples", "a.qx1", "b.qx1"}).rc, kExitUsage);
}

}  // namespace
}  // namespace brevik::cli
