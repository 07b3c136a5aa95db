#pragma once
// Where an export may write. An export replaces its target, so a name that
// is a logger data file's (.qx1/.qx2, any case) or a file that holds a data
// file is refused unless the caller forces it: a download is the one copy of
// a logger's memory, and a slip of argument order must not turn it into CSV.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace brevik::program {

// Why `target` may not take an export (Windows-1252 text naming it), or
// nothing when it may. `force` lets a data-file name or content through; a
// folder is refused always.
std::optional<std::string> exportTargetRefusal(const std::filesystem::path& target, bool force);

// Whether `head` (the first bytes of a file) starts like a downloaded data
// file (.QX1). A table (.QX2) reads like a text export, so it is known by its
// name alone.
bool looksLikeDataFile(std::string_view head);

}  // namespace brevik::program
