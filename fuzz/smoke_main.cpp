// Runs a fuzz target without libFuzzer, so every build exercises it: each
// file of the corpus directories as it is, every prefix of it, and mutated
// copies, then random inputs. The generator has a fixed seed, so a failure
// repeats exactly.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

constexpr std::uintmax_t kLargestSeed = 64 * 1024;
constexpr int kMutationsPerSeed = 300;
constexpr int kRandomInputs = 300;

void feed(const std::string& input) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

std::string mutate(std::string s, std::mt19937& rng) {
  std::uniform_int_distribution<int> byte(0, 255);
  const int edits = 1 + static_cast<int>(rng() % 8);
  for (int e = 0; e < edits; ++e) {
    if (s.empty()) {
      s.push_back(static_cast<char>(byte(rng)));
      continue;
    }
    const std::size_t at = rng() % s.size();
    switch (rng() % 4) {
      case 0: s[at] = static_cast<char>(byte(rng)); break;
      case 1: s.erase(at, 1 + rng() % 4); break;
      case 2: s.insert(at, 1, static_cast<char>(byte(rng))); break;
      default: s.insert(at, s.substr(at, 1 + rng() % 16)); break;
    }
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  std::mt19937 rng(20240305u);
  std::size_t seeds = 0;
  for (int i = 1; i < argc; ++i) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(argv[i], ec)) {
      if (!entry.is_regular_file() || entry.file_size() > kLargestSeed) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string seed((std::istreambuf_iterator<char>(in)), {});
      ++seeds;
      feed(seed);
      for (std::size_t n = 0; n < seed.size(); ++n) feed(seed.substr(0, n));
      for (int m = 0; m < kMutationsPerSeed; ++m) feed(mutate(seed, rng));
    }
  }
  std::uniform_int_distribution<int> byte(0, 255);
  for (int r = 0; r < kRandomInputs; ++r) {
    std::string input(rng() % 1024, '\0');
    for (char& c : input) c = static_cast<char>(byte(rng));
    feed(input);
  }
  std::printf("%zu seeds, all inputs handled\n", seeds);
  return 0;
}
