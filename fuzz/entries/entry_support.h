#pragma once
// What the fuzz entries share: the input as text, split into arguments or
// lines, and the one way an entry says a rule was broken (a trap, which
// libFuzzer reports as a crash and a GoogleTest run as a dead test).

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brevik::fuzzing {

inline std::string_view bytesAsText(const std::uint8_t* data, std::size_t size) {
  return data ? std::string_view(reinterpret_cast<const char*>(data), size) : std::string_view();
}

inline void require(bool rule) {
  if (!rule) __builtin_trap();
}

// The pieces of `text` between `separator` bytes, at most `limit` of them
// (the last keeps the rest of the text).
inline std::vector<std::string> splitAt(std::string_view text, char separator, std::size_t limit) {
  std::vector<std::string> pieces;
  while (!text.empty() || pieces.empty()) {
    const std::size_t at = pieces.size() + 1 < limit ? text.find(separator) : std::string_view::npos;
    pieces.emplace_back(text.substr(0, at));
    if (at == std::string_view::npos) break;
    text.remove_prefix(at + 1);
  }
  return pieces;
}

// A folder of the process's own under the temporary directory, removed
// with everything in it when the process ends.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) {
    std::error_code ec;
    path_ = std::filesystem::temp_directory_path(ec) / (name + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path_, ec);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace brevik::fuzzing
