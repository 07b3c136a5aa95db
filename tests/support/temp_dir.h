#pragma once
// A fresh directory per test under the build tree, removed afterwards.

#include <filesystem>
#include <string>
#include <string_view>

namespace brevik::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  // Writes bytes into a file of the directory and returns its path.
  std::filesystem::path write(std::string_view name, std::string_view content) const;
  // The bytes of a file of the directory ("" when missing).
  std::string read(std::string_view name) const;

 private:
  std::filesystem::path path_;
};

// The directory of the project's shipped files (data/).
std::filesystem::path dataDir();

}  // namespace brevik::testing
