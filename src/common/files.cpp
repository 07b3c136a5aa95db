#include "common/files.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace brevik::files {

namespace fs = std::filesystem;

namespace {

std::string describe(const fs::path& path, const char* what) {
  return std::string(what) + " " + path.string() + ": " + std::strerror(errno);
}

}  // namespace

Result<std::string> readPrefix(const fs::path& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    return makeError(exists ? ErrorKind::Io : ErrorKind::NotFound,
                     describe(path, "Cannot open"));
  }
  std::string content;
  char buffer[1 << 16];
  while (content.size() < limit && in) {
    const std::size_t want = std::min(sizeof buffer, limit - content.size());
    in.read(buffer, static_cast<std::streamsize>(want));
    content.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return makeError(ErrorKind::Io, describe(path, "Cannot read"));
  return content;
}

Result<std::string> readAll(const fs::path& path) {
  return readPrefix(path, static_cast<std::size_t>(-1));
}

fs::path temporarySibling(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
#if defined(_WIN32)
  const long pid = 0;
#else
  const long pid = static_cast<long>(::getpid());
#endif
  fs::path tmp = target;
  tmp += ".tmp-" + std::to_string(pid) + "-" + std::to_string(stamp % 1000000) + "-" +
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

Status appendToFile(const fs::path& path, std::string_view content) {
  std::FILE* f = std::fopen(path.string().c_str(), "ab");
  if (!f) return makeError(ErrorKind::Io, describe(path, "Cannot open"));
  bool good = std::fwrite(content.data(), 1, content.size(), f) == content.size();
  good = std::fclose(f) == 0 && good;
  if (!good) return makeError(ErrorKind::Io, describe(path, "Cannot write"));
  return {};
}

}  // namespace brevik::files
