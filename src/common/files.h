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

// Reads the whole file as bytes; NotFound when it does not exist, Io otherwise
// (a folder, no permission, a read error), the message giving the system's reason.
Result<std::string> readAll(const std::filesystem::path& path);

// Reads at most `limit` bytes from the start of the file.
Result<std::string> readPrefix(const std::filesystem::path& path, std::size_t limit);

// Reads the whole file when it holds at most `limit` bytes. A longer one
// (or an endless device such as /dev/zero) is refused with InvalidData and
// a "too large" message before more than `limit` + 1 bytes are held.
Result<std::string> readBounded(const std::filesystem::path& path, std::size_t limit);

// The message for a data file that could not be read: "File: NAME not
// found" when it is not there, else what failed and why (Windows-1252).
Error dataFileReadError(const Error& readError, std::string_view shownName);

// The "too large" message of readBounded, for inputs read another way.
std::string tooLargeText(std::string_view what, std::size_t limit);

// Replaces `path` with `content` through a temporary file and a rename.
Status writeFileAtomically(const std::filesystem::path& path, std::string_view content);

// Whether a file can be written at `target` before any work is spent on it:
// it is not a folder, and a file can be created beside it (tried with a
// temporary file, removed at once). Io naming `target` and the reason.
Status checkWritableTarget(const std::filesystem::path& target);

// Appends `content`, creating the file when it does not exist.
Status appendToFile(const std::filesystem::path& path, std::string_view content);

// A name for a temporary file beside `target` that no other writer uses:
// `target` + ".tmp-PID-STAMP-N". Making one also removes the temporary files
// of `target` left by writers that were killed (their process is gone), so
// crashes do not pile them up.
std::filesystem::path temporarySibling(const std::filesystem::path& target);

// Removes `target`'s temporary files whose writing process no longer runs;
// returns how many were removed.
std::size_t removeStaleTemporaries(const std::filesystem::path& target);

// The system's reason for the last failed call (errno), as a short text.
std::string systemReason();

}  // namespace brevik::files
