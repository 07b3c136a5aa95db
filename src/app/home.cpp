#include "app/home.h"

#include <cstdlib>
#include <system_error>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace brevik::app {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> env(const char* name) {
  const char* v = std::getenv(name);
  if (!v || !*v) return std::nullopt;
  return std::string(v);
}

bool isWritableDirectory(const fs::path& dir) {
  std::error_code ec;
  if (dir.empty() || !fs::is_directory(dir, ec)) return false;
#if defined(_WIN32)
  const fs::path probe = dir / ".brevik-write-probe";
  std::FILE* f = std::fopen(probe.string().c_str(), "wb");
  if (!f) return false;
  std::fclose(f);
  fs::remove(probe, ec);
  return true;
#else
  return ::access(dir.c_str(), W_OK) == 0;
#endif
}

}  // namespace

HomeInputs homeInputsFromEnvironment(const std::optional<fs::path>& homeArgument,
                                     const fs::path& executableDir) {
  HomeInputs in;
  in.homeArgument = homeArgument;
  in.homeVariable = env("BREVIK_HOME");
  in.executableDir = executableDir;
  in.xdgDataHome = env("XDG_DATA_HOME");
  in.userHome = env("HOME");
  if (!in.userHome) in.userHome = env("USERPROFILE");
  in.appData = env("APPDATA");
  return in;
}

Result<fs::path> chooseHome(const HomeInputs& in) {
  if (in.homeArgument && !in.homeArgument->empty()) return *in.homeArgument;
  if (in.homeVariable) return fs::path(*in.homeVariable);
  if (isWritableDirectory(in.executableDir)) return in.executableDir;
#if defined(_WIN32)
  if (in.appData) return fs::path(*in.appData) / "Brevik";
#elif defined(__APPLE__)
  if (in.userHome) return fs::path(*in.userHome) / "Library" / "Application Support" / "Brevik";
#endif
  if (in.xdgDataHome) return fs::path(*in.xdgDataHome) / "brevik";
  if (in.userHome) return fs::path(*in.userHome) / ".local" / "share" / "brevik";
  return makeError(ErrorKind::NotFound,
                   "No program home: pass --home DIR or set BREVIK_HOME");
}

Status seedHome(const fs::path& home, const fs::path& dataDir) {
  std::error_code ec;
  fs::create_directories(home, ec);
  if (!fs::is_directory(home, ec))
    return makeError(ErrorKind::Io, "Cannot create the program home " + home.string());
  if (dataDir.empty() || !fs::is_directory(dataDir, ec)) return {};
  for (auto it = fs::recursive_directory_iterator(dataDir, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const fs::path rel = fs::relative(it->path(), dataDir, ec);
    if (ec) break;
    const fs::path target = home / rel;
    if (it->is_directory(ec)) {
      fs::create_directories(target, ec);
      continue;
    }
    if (fs::exists(target, ec)) continue;  // a user's file always wins
    fs::copy_file(it->path(), target, fs::copy_options::skip_existing, ec);
    if (ec)
      return makeError(ErrorKind::Io, "Cannot copy " + rel.string() + " into " + home.string());
  }
  if (ec) return makeError(ErrorKind::Io, "Cannot read the shipped files in " + dataDir.string());
  return {};
}

fs::path findShippedData(const fs::path& executableDir, const fs::path& buildDataDir) {
  std::error_code ec;
  if (auto v = env("BREVIK_DATA_DIR"); v && fs::is_directory(*v, ec)) return *v;
  if (!executableDir.empty()) {
    for (const fs::path& candidate : {executableDir / "data", executableDir / ".." / "share" / "brevik"})
      if (fs::is_directory(candidate, ec)) return fs::weakly_canonical(candidate, ec);
  }
  if (fs::is_directory(buildDataDir, ec)) return buildDataDir;
  return {};
}

fs::path executableDirectory(const char* argv0) {
  std::error_code ec;
#if defined(__linux__)
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
#endif
  if (argv0 && *argv0) {
    const fs::path p = fs::absolute(argv0, ec);
    if (!ec) return p.parent_path();
  }
  return {};
}

}  // namespace brevik::app
