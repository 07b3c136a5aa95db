#pragma once
// Names of files inside the program home that come from outside (a logger's
// channel records, a settings file): checked before anything is opened, and
// matched with or without case on a file system that tells case apart.
//
// Refused: an empty name, "." or "..", any "..", '/', '\', ':' (drive letters
// and stream names), NUL and other control bytes, and the reserved device
// names of Windows (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with or without
// an extension).
//
// Lookup: the exact name first; otherwise the regular files of the home whose
// whole name (base and extension) equals the wanted one ignoring ASCII case.
// Among several, one whose base name has the exact case wins, then the
// smallest name in byte order, so the choice never depends on directory order.

#include <filesystem>
#include <optional>
#include <string_view>

#include "common/result.h"

namespace brevik {

// Whether Windows opens a device for `name`: CON, PRN, AUX, NUL, COM1-COM9 or
// LPT1-LPT9 before the first '.', any case, trailing blanks ignored.
bool isWindowsDeviceName(std::string_view name);

// Ok when `name` is a plain file name that stays inside the home directory;
// otherwise a Usage Error saying why.
Status checkHomeFileName(std::string_view name);

// The file of `home` that `name` names, by the rule above; nullopt when there
// is none or the name is refused.
std::optional<std::filesystem::path> findHomeFile(const std::filesystem::path& home,
                                                  std::string_view name);

}  // namespace brevik
