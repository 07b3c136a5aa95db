#include "graph/graph_colors.h"

#include <charconv>
#include <limits>

#include "common/files.h"
#include "common/home_files.h"

namespace brevik::graph {

namespace fs = std::filesystem;

namespace {

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<long long> parseInteger(std::string_view text) {
  // from_chars takes no '+': allow one, but not before another sign.
  if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
    text.remove_prefix(1);
  long long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The line as it can be shown in a message: cut short, control bytes as '?'.
std::string shown(std::string_view line) {
  std::string out(line.substr(0, 40));
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return out;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The file name part of a setting that may hold a Windows or POSIX path.
std::string_view withoutDirectory(std::string_view name) {
  const auto cut = name.find_last_of("/\\:");
  return cut == std::string_view::npos ? name : name.substr(cut + 1);
}

}  // namespace

Rgb paletteColor(int index) {
  if (index < 1 || index > static_cast<int>(kPalette.size())) index = kRedIndex;
  return kPalette[static_cast<std::size_t>(index - 1)].rgb;
}

Rgb slotColor(const ColorSlots& slots, int slot) {
  if (slot < 1 || slot > static_cast<int>(kColorSlotCount)) return paletteColor(kRedIndex);
  return paletteColor(slots[static_cast<std::size_t>(slot - 1)]);
}

std::uint8_t paletteIndexOf(Rgb color) {
  for (const auto& entry : kPalette)
    if (entry.rgb == color) return entry.index;
  return kNotInPalette;
}

std::string formatColorFile(const ColorSlots& slots) {
  std::string text;
  for (std::uint8_t index : slots) text += std::to_string(index) + "\r\n";
  return text;
}

Result<ColorSlots> parseColorFile(std::string_view text) {
  ColorSlots slots{};
  std::string_view rest = text;
  for (std::size_t i = 0; i < kColorSlotCount; ++i) {
    const std::size_t lineNumber = i + 1;
    if (rest.empty())
      return makeError(ErrorKind::InvalidData,
                       "it has " + std::to_string(i) + " lines where " +
                           std::to_string(kColorSlotCount) + " are needed");
    const auto stop = rest.find_first_of("\r\n");
    const std::string_view line = rest.substr(0, stop);
    if (stop == std::string_view::npos) {
      rest = {};
    } else {
      std::size_t skip = stop + 1;
      if (rest[stop] == '\r' && skip < rest.size() && rest[skip] == '\n') ++skip;
      rest.remove_prefix(skip);
    }
    const auto value = parseInteger(trimBlanks(line));
    if (!value)
      return makeError(ErrorKind::InvalidData, "line " + std::to_string(lineNumber) + " '" +
                                                   shown(line) +
                                                   "' is not a valid integer value");
    slots[i] = (*value < 0 || *value > 255) ? kNotInPalette : static_cast<std::uint8_t>(*value);
  }
  return slots;
}

Result<ColorSlots> readColorFile(const fs::path& path) {
  // Eight short lines: anything past a few kilobytes is not read.
  auto content = files::readPrefix(path, 4096);
  if (!content) return content.error();
  auto slots = parseColorFile(*content);
  if (!slots)
    return makeError(ErrorKind::InvalidData,
                     "Graph color file " + path.filename().string() + ": " + slots.error().message);
  return slots;
}

Status writeColorFile(const fs::path& path, const ColorSlots& slots) {
  return files::writeFileAtomically(path, formatColorFile(slots));
}

fs::path colorFileSaveName(const fs::path& chosen) {
  std::string ext = chosen.extension().string();
  for (char& c : ext) c = lowerAscii(c);
  if (ext == ".gcf") return chosen;
  fs::path renamed = chosen;
  renamed.replace_extension(".GCF");
  return renamed;
}

std::string missingColorFileWarning(std::string_view colorFileName) {
  return "Graph color file: " + std::string(colorFileName) + " not found; loading factory defaults";
}

StartupColors loadStartupColors(const fs::path& home, std::string_view colorFileName) {
  StartupColors result;
  if (const auto path = findHomeFile(home, withoutDirectory(colorFileName))) {
    if (auto slots = readColorFile(*path)) {
      result.slots = *slots;
      return result;
    }
  }
  result.slots = kFactoryColorSlots;
  result.warning = missingColorFileWarning(colorFileName);
  if (auto written = writeColorFile(home / std::string(kDefaultColorFileName), result.slots);
      !written)
    result.writeError = written.error();
  result.colorFileName = std::string(kDefaultColorFileName);
  return result;
}

}  // namespace brevik::graph
