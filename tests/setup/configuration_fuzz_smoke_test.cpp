// The fuzz entries of the set-up readers (fuzz/setup_file_fuzz.cpp,
// fuzz/data_header_fuzz.cpp) on their seed files, every prefix of them,
// mutated copies and random bytes. A fixed seed makes a failure repeat.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "setup/configuration_fuzzing.h"

namespace brevik::setup {
namespace {

using Entry = void (*)(const std::uint8_t*, std::size_t);

std::vector<std::string> seeds(const char* target) {
  std::vector<std::string> out;
  const auto dir = std::filesystem::path(BREVIK_DATA_DIR).parent_path() / "fuzz" / "corpus" / target;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    out.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return out;
}

void feed(Entry entry, const std::string& bytes) {
  entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string mutate(std::string s, std::mt19937& rng) {
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

void smoke(Entry entry, const char* target) {
  const auto corpus = seeds(target);
  ASSERT_FALSE(corpus.empty()) << target;
  std::mt19937 rng(20240305u);
  for (const std::string& seed : corpus) {
    for (std::size_t n = 0; n <= seed.size(); ++n) feed(entry, seed.substr(0, n));
    for (int m = 0; m < 300; ++m) feed(entry, mutate(seed, rng));
  }
  for (int r = 0; r < 200; ++r) {
    std::string bytes(rng() % 1024, '\0');
    for (char& c : bytes) c = static_cast<char>(rng() % 256);
    feed(entry, bytes);
  }
}

TEST(ConfigurationFuzzSmoke, SetupFiles) { smoke(exerciseSetupFileBytes, "setup_file_fuzz"); }
TEST(ConfigurationFuzzSmoke, DataFileHeaders) { smoke(exerciseDataHeaderBytes, "data_header_fuzz"); }

}  // namespace
}  // namespace brevik::setup
