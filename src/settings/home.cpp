#include "settings/home.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include "common/files.h"

namespace brevik::settings {

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

// Directories of a system-wide install. Running as an administrator makes
// them writable, but they are never a portable install: the home would fill
// the system's program folder with settings and logs.
bool isSystemDirectory(const fs::path& dir) {
#if defined(_WIN32)
  (void)dir;
  return false;
#else
  static const char* const prefixes[] = {"/bin", "/sbin", "/usr", "/lib", "/lib64", "/opt",
                                         "/etc", "/snap", "/nix", "/Applications", "/System"};
  const fs::path normal = dir.lexically_normal();
  for (const char* prefix : prefixes) {
    const fs::path p(prefix);
    auto [mismatch, _] = std::mismatch(p.begin(), p.end(), normal.begin(), normal.end());
    if (mismatch == p.end()) return true;
  }
  return false;
#endif
}

fs::path absoluteOrAsIs(const fs::path& p) {
  std::error_code ec;
  fs::path a = fs::absolute(p, ec);
  return ec ? p : a.lexically_normal();
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
  // The home becomes the current directory, so a relative one is fixed now.
  if (in.homeArgument && !in.homeArgument->empty()) return absoluteOrAsIs(*in.homeArgument);
  if (in.homeVariable && !in.homeVariable->empty()) return absoluteOrAsIs(fs::path(*in.homeVariable));
  if (isWritableDirectory(in.executableDir) && !isSystemDirectory(in.executableDir))
    return in.executableDir;
#if defined(_WIN32)
  if (in.appData) return fs::path(*in.appData) / "Brevik";
#elif defined(__APPLE__)
  if (in.userHome) return fs::path(*in.userHome) / "Library" / "Application Support" / "Brevik";
#endif
  // A relative XDG_DATA_HOME is invalid and must be ignored.
  if (in.xdgDataHome && fs::path(*in.xdgDataHome).is_absolute())
    return fs::path(*in.xdgDataHome) / "brevik";
  if (in.userHome) return fs::path(*in.userHome) / ".local" / "share" / "brevik";
  return makeError(ErrorKind::NotFound,
                   "No program home: pass --home DIR or set BREVIK_HOME");
}

Status seedHome(const fs::path& home, const fs::path& dataDir) {
  std::error_code ec;
  fs::create_directories(home, ec);
  if (!fs::is_directory(home, ec))
    return makeError(ErrorKind::Io, "Cannot create the program home " + home.string() +
                                        (ec ? ": " + ec.message() : std::string()));
  if (dataDir.empty() || !fs::is_directory(dataDir, ec)) return {};
  // Every file that can be copied is: one that cannot (a read-only home)
  // leaves the others in place, and the first failure is reported.
  std::optional<std::string> firstFailure;
  std::size_t failures = 0;
  const auto failed = [&](const fs::path& rel, const std::error_code& why) {
    if (!firstFailure) firstFailure = "Cannot copy " + rel.string() + " into " + home.string() + ": " + why.message();
    ++failures;
  };
  for (auto it = fs::recursive_directory_iterator(dataDir, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code fileError;
    const fs::path rel = fs::relative(it->path(), dataDir, fileError);
    if (fileError) continue;
    const fs::path target = home / rel;
    if (it->is_directory(fileError)) {
      if (!fs::is_directory(target, fileError)) {
        fs::create_directories(target, fileError);
        if (fileError) failed(rel, fileError);
      }
      continue;
    }
    if (fs::exists(target, fileError) || fs::is_symlink(target, fileError)) continue;  // a user's file always wins
    // Copied beside the target and renamed into place: an interrupted
    // seeding never leaves a truncated file that later runs would keep.
    const fs::path partial = files::temporarySibling(target);
    fs::copy_file(it->path(), partial, fs::copy_options::overwrite_existing, fileError);
    if (std::error_code probe; !fileError && !fs::exists(target, probe)) fs::rename(partial, target, fileError);
    std::error_code ignored;
    fs::remove(partial, ignored);
    if (fileError) failed(rel, fileError);
  }
  if (ec) return makeError(ErrorKind::Io, "Cannot read the shipped files in " + dataDir.string() + ": " + ec.message());
  if (firstFailure)
    return makeError(ErrorKind::Io, *firstFailure + (failures > 1 ? " (and " + std::to_string(failures - 1) +
                                                                          " more shipped files)"
                                                                    : std::string()));
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

}  // namespace brevik::settings
