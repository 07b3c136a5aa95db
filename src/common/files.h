#pragma once
// Whole-file reads and writes. Writes that replace a file the user cares
// about go through writeFileAtomically: the new content is written to a
// temporary file beside the target, flushed, and renamed over it, so a crash
// half-way leaves the old file intact.

#include <filesystem>
#include <string>
#include <string_view>

#include "common/result.h"

namespace brevik::files {

// Reads the whole file as bytes; NotFound when it does not exist, Io otherwise.
Result<std::string> readAll(const std::filesystem::path& path);

// Reads at most `limit` bytes from the start of the file.
Result<std::string> readPrefix(const std::filesystem::path& path, std::size_t limit);

// Replaces `path` with `content` through a temporary file and a rename.
Status writeFileAtomically(const std::filesystem::path& path, std::string_view content);

// Appends `content`, creating the file when it does not exist.
Status appendToFile(const std::filesystem::path& path, std::string_view content);

// A name for a temporary file beside `target` that no other writer uses.
std::filesystem::path temporarySibling(const std::filesystem::path& target);

}  // namespace brevik::files
