#include "program/export_target.h"

#include <system_error>
#include <vector>

#include "common/cp1252.h"
#include "common/files.h"
#include "datafile/data_file_header.h"
#include "datafile/data_file_reader.h"

namespace brevik::program {

namespace {

// Enough for a header or a table heading with long lines.
constexpr std::size_t kHeadBytes = 8192;

bool hasDataFileExtension(const std::filesystem::path& target) {
  std::string ext = target.extension().string();
  for (char& c : ext) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return ext == ".QX1" || ext == ".QX2";
}

}  // namespace

bool looksLikeDataFile(std::string_view head) {
  return static_cast<bool>(datafile::parseDataFileHeader(datafile::splitLines(head), ""));
}

std::optional<std::string> exportTargetRefusal(const std::filesystem::path& target, bool force) {
  const std::string name = fromUtf8(target.string());
  std::error_code ec;
  if (std::filesystem::is_directory(target, ec))
    return "Cannot write " + name + ": it is a folder";
  if (force) return std::nullopt;
  if (hasDataFileExtension(target))
    return "Cannot write " + name + ": the name is a data file's (" + fromUtf8(target.extension().string()) +
           "), and an export would replace it; use --force to write there anyway";
  if (!std::filesystem::exists(target, ec)) return std::nullopt;
  auto head = files::readPrefix(target, kHeadBytes);
  if (head && looksLikeDataFile(*head))
    return "Cannot write " + name +
           ": it holds a logger data file, and an export would replace it; use --force to write there anyway";
  return std::nullopt;
}

}  // namespace brevik::program
