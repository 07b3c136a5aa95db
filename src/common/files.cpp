#include "common/files.h"

#include "common/cp1252.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace brevik::files {

namespace fs = std::filesystem;

namespace {

std::string describe(const fs::path& path, const char* what) {
  return std::string(what) + " " + path.string() + ": " + systemReason();
}

// ".tmp-" + PID + "-": what temporarySibling puts behind a target's name.
constexpr std::string_view kTemporaryMark = ".tmp-";

#if !defined(_WIN32)
bool processIsGone(long pid) {
  if (pid <= 0) return false;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}
#endif

}  // namespace

std::string systemReason() {
  const int saved = errno;
  return saved == 0 ? std::string("unknown error") : std::string(std::strerror(saved));
}

Result<std::string> readPrefix(const fs::path& path, std::size_t limit) {
  std::error_code ec;
  if (fs::is_directory(path, ec))
    return makeError(ErrorKind::Io, "Cannot read " + path.string() + ": it is a folder, not a file");
  errno = 0;
  std::FILE* f = std::fopen(path.string().c_str(), "rb");
  if (!f) {
    const ErrorKind kind = errno == ENOENT ? ErrorKind::NotFound : ErrorKind::Io;
    return makeError(kind, describe(path, "Cannot open"));
  }
  std::string content;
  char buffer[1 << 16];
  bool failed = false;
  while (content.size() < limit) {
    const std::size_t want = std::min(sizeof buffer, limit - content.size());
    const std::size_t got = std::fread(buffer, 1, want, f);
    content.append(buffer, got);
    if (got < want) {
      failed = std::ferror(f) != 0;
      break;
    }
  }
  const std::string reason = failed ? describe(path, "Cannot read") : std::string();
  std::fclose(f);
  if (failed) return makeError(ErrorKind::Io, reason);
  return content;
}

Result<std::string> readAll(const fs::path& path) {
  return readPrefix(path, static_cast<std::size_t>(-1));
}

std::string tooLargeText(std::string_view what, std::size_t limit) {
  return std::string(what) + " is too large: more than " + std::to_string(limit) +
         " bytes, which its format cannot hold";
}

Result<std::string> readBounded(const fs::path& path, std::size_t limit) {
  auto content = readPrefix(path, limit + 1);
  if (content && content->size() > limit)
    return makeError(ErrorKind::InvalidData, tooLargeText(path.string(), limit));
  return content;
}

Error dataFileReadError(const Error& readError, std::string_view shownName) {
  if (readError.kind == ErrorKind::NotFound)
    return makeError(ErrorKind::NotFound, "File: " + std::string(shownName) + " not found");
  return makeError(readError.kind, fromUtf8(readError.message));
}

std::size_t removeStaleTemporaries(const fs::path& target) {
#if defined(_WIN32)
  (void)target;
  return 0;
#else
  const std::string prefix = target.filename().string() + std::string(kTemporaryMark);
  fs::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  std::error_code ec;
  std::vector<fs::path> stale;
  fs::directory_iterator it(dir, ec);
  for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    // Only the exact form PID-STAMP-N: a user's file that merely starts alike stays.
    const std::string rest = name.substr(prefix.size());
    const auto dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 9) continue;
    if (rest.find_first_not_of("0123456789-") != std::string::npos) continue;
    if (std::count(rest.begin(), rest.end(), '-') != 2) continue;
    const long pid = std::stol(rest.substr(0, dash));
    if (pid == static_cast<long>(::getpid()) || !processIsGone(pid)) continue;
    std::error_code typeError;
    if (fs::is_regular_file(it->path(), typeError)) stale.push_back(it->path());
  }
  std::size_t removed = 0;
  for (const fs::path& p : stale) {
    std::error_code ignored;
    if (fs::remove(p, ignored)) ++removed;
  }
  return removed;
#endif
}

fs::path temporarySibling(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  removeStaleTemporaries(target);
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
#if defined(_WIN32)
  const long pid = 0;
#else
  const long pid = static_cast<long>(::getpid());
#endif
  fs::path tmp = target;
  tmp += std::string(kTemporaryMark) + std::to_string(pid) + "-" + std::to_string(stamp % 1000000) + "-" +
         std::to_string(counter++);
  return tmp;
}

Status writeFileAtomically(const fs::path& path, std::string_view content) {
  const fs::path tmp = temporarySibling(path);
  std::FILE* f = std::fopen(tmp.string().c_str(), "wb");
  if (!f) return makeError(ErrorKind::Io, describe(path, "Cannot create"));
  bool good = std::fwrite(content.data(), 1, content.size(), f) == content.size();
  good = std::fflush(f) == 0 && good;
#if !defined(_WIN32)
  good = ::fsync(::fileno(f)) == 0 && good;
#endif
  good = std::fclose(f) == 0 && good;
  if (!good) {
    const std::string message = describe(path, "Cannot write");
    std::error_code ignored;
    fs::remove(tmp, ignored);
    return makeError(ErrorKind::Io, message);
  }
  std::error_code ec;
  fs::rename(tmp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(tmp, ignored);
    return makeError(ErrorKind::Io, "Cannot replace " + path.string() + ": " + ec.message());
  }
  return {};
}

Status checkWritableTarget(const fs::path& target) {
  std::error_code ec;
  if (fs::is_directory(target, ec))
    return makeError(ErrorKind::Io, "Cannot write " + target.string() + ": it is a folder");
  const fs::path probe = temporarySibling(target);
  errno = 0;
  std::FILE* f = std::fopen(probe.string().c_str(), "wb");
  if (!f) return makeError(ErrorKind::Io, describe(target, "Cannot write"));
  std::fclose(f);
  fs::remove(probe, ec);
  return {};
}

Status appendToFile(const fs::path& path, std::string_view content) {
  std::FILE* f = std::fopen(path.string().c_str(), "ab");
  if (!f) return makeError(ErrorKind::Io, describe(path, "Cannot open"));
  bool good = std::fwrite(content.data(), 1, content.size(), f) == content.size();
  good = std::fclose(f) == 0 && good;
  if (!good) return makeError(ErrorKind::Io, describe(path, "Cannot write"));
  return {};
}

}  // namespace brevik::files
