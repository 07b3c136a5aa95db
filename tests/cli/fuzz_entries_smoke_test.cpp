// Every fuzz entry (fuzz/entries/, and the set-up readers' of
// setup/configuration_fuzzing.h) on its committed seeds, every prefix of
// them, mutated copies and random bytes: none may trap or crash. A fixed
// seed makes a failure repeat; the libFuzzer targets search further.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "../../fuzz/entries/color_file_entry.h"
#include "../../fuzz/entries/command_line_entry.h"
#include "../../fuzz/entries/kaldo_arguments_entry.h"
#include "../../fuzz/entries/logger_lines_entry.h"
#include "../../fuzz/entries/logger_profile_entry.h"
#include "../../fuzz/entries/modem_line_entry.h"
#include "../../fuzz/entries/port_map_entry.h"
#include "../../fuzz/entries/scale_table_entry.h"
#include "../../fuzz/entries/settings_record_entry.h"
#include "../../fuzz/entries/sim_command_entry.h"
#include "../../fuzz/entries/status_reply_entry.h"
#include "setup/configuration_fuzzing.h"

namespace brevik::fuzzing {
namespace {

struct FuzzEntry {
  const char* target;  // its folder of seeds in fuzz/corpus
  void (*run)(const std::uint8_t*, std::size_t);
  int mutations;       // per seed; fewer where one run is a whole exchange
};

const FuzzEntry kEntries[] = {
    {"settings_record_fuzz", readSettingsRecord, 100},  {"color_file_fuzz", readColorFile, 300},
    {"scale_table_fuzz", readScaleTexts, 300},          {"status_reply_fuzz", decodeStatusReply, 300},
    {"logger_lines_fuzz", readLoggerLines, 300},        {"command_line_fuzz", readStartupCommandLine, 300},
    {"port_map_fuzz", readPortMap, 300},                {"logger_profile_fuzz", readLoggerProfile, 100},
    {"sim_command_fuzz", sendToVirtualLogger, 100},     {"modem_line_fuzz", classifyModemReplies, 300},
    {"setup_file_fuzz", setup::exerciseSetupFileBytes, 300}, {"data_header_fuzz", setup::exerciseDataHeaderBytes, 300},
    {"kaldo_arguments_fuzz", runKaldoCommandLine, 4},
};

std::vector<std::string> seedsOf(const char* target) {
  std::vector<std::string> out;
  const auto dir = std::filesystem::path(BREVIK_DATA_DIR).parent_path() / "fuzz" / "corpus" / target;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    out.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return out;
}

std::string mutated(std::string s, std::mt19937& rng) {
  const int edits = 1 + static_cast<int>(rng() % 8);
  for (int e = 0; e < edits; ++e) {
    const auto byte = static_cast<char>(rng() % 256);
    if (s.empty()) {
      s.push_back(byte);
      continue;
    }
    const std::size_t at = rng() % s.size();
    switch (rng() % 4) {
      case 0: s[at] = byte; break;
      case 1: s.erase(at, 1 + rng() % 4); break;
      case 2: s.insert(at, 1, byte); break;
      default: s.insert(at, s.substr(at, 1 + rng() % 16)); break;
    }
  }
  return s;
}

class FuzzEntrySmoke : public ::testing::TestWithParam<FuzzEntry> {
 protected:
  void feed(const std::string& bytes) {
    GetParam().run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
};

TEST_P(FuzzEntrySmoke, SeedsTheirPrefixesMutationsAndNoiseAreReadSafely) {
  const FuzzEntry& entry = GetParam();
  const auto seeds = seedsOf(entry.target);
  ASSERT_FALSE(seeds.empty()) << entry.target;
  std::mt19937 rng(20261209u);
  for (const std::string& seed : seeds) {
    // Every prefix, but only a few of a whole kaldo run.
    const std::size_t step = entry.mutations < 10 ? 1 + seed.size() / 6 : 1;
    for (std::size_t n = 0; n <= seed.size(); n += step) feed(seed.substr(0, n));
    feed(seed);
    for (int m = 0; m < entry.mutations; ++m) feed(mutated(seed, rng));
  }
  for (int r = 0; r < entry.mutations; ++r) {
    std::string bytes(rng() % 512, '\0');
    for (char& c : bytes) c = static_cast<char>(rng() % 256);
    feed(bytes);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryEntry, FuzzEntrySmoke, ::testing::ValuesIn(kEntries),
                         [](const ::testing::TestParamInfo<FuzzEntry>& entryInfo) {
                           std::string name = entryInfo.param.target;
                           name.erase(name.size() - 5);  // "_fuzz"
                           std::erase(name, '_');
                           return name;
                         });

}  // namespace
}  // namespace brevik::fuzzing
