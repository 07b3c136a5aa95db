#include "common/home_files.h"

#include <algorithm>
#include <array>
#include <string>
#include <system_error>
#include <vector>

namespace brevik {

namespace fs = std::filesystem;

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  return true;
}

std::string_view baseOf(std::string_view name) {
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

}  // namespace

bool isWindowsDeviceName(std::string_view name) {
  // Windows opens the device whatever the extension: "CON.Rvt" is the console.
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  static constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
  for (auto r : kPlain)
    if (equalIgnoringCase(base, r)) return true;
  if (base.size() == 4 && base[3] >= '1' && base[3] <= '9') {
    const std::string_view stem = base.substr(0, 3);
    if (equalIgnoringCase(stem, "com") || equalIgnoringCase(stem, "lpt")) return true;
  }
  return false;
}

namespace {

// The name as it can be shown in a message: control bytes become '?'.
std::string printable(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return out;
}

Error refused(std::string_view name, std::string_view why) {
  return makeError(ErrorKind::Usage,
                   "The file name '" + printable(name) + "' is refused: " + std::string(why));
}

}  // namespace

Status checkHomeFileName(std::string_view name) {
  if (name.empty()) return refused(name, "it is empty");
  for (char c : name) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) return refused(name, "it holds a control character");
    if (c == '/' || c == '\\') return refused(name, "it names a folder");
    if (c == ':') return refused(name, "it names a drive or a stream");
  }
  if (name.find("..") != std::string_view::npos || name == ".")
    return refused(name, "it leaves the program folder");
  if (isWindowsDeviceName(name)) return refused(name, "it is a device name");
  return {};
}

std::optional<fs::path> findHomeFile(const fs::path& home, std::string_view name) {
  if (!checkHomeFileName(name)) return std::nullopt;
  std::error_code ec;
  const fs::path exact = home / fs::path(std::string(name));
  if (fs::is_regular_file(exact, ec)) return exact;

  std::vector<std::string> candidates;
  fs::directory_iterator it(home, ec);
  if (ec) return std::nullopt;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) break;
    const std::string entry = it->path().filename().string();
    if (!equalIgnoringCase(entry, name)) continue;
    std::error_code typeError;
    if (fs::is_regular_file(it->path(), typeError)) candidates.push_back(entry);
  }
  if (candidates.empty()) return std::nullopt;
  const std::string_view wantedBase = baseOf(name);
  std::sort(candidates.begin(), candidates.end(), [&](const std::string& a, const std::string& b) {
    const bool aExact = baseOf(a) == wantedBase;
    const bool bExact = baseOf(b) == wantedBase;
    if (aExact != bExact) return aExact;
    return a < b;
  });
  return home / fs::path(candidates.front());
}

}  // namespace brevik
