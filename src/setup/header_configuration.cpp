#include "setup/header_configuration.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "common/bytes.h"
#include "common/files.h"
#include "setup/setup_file.h"

namespace brevik::setup {

namespace {

// The header is 17 short lines at most; a file whose header does not fit in
// this much is no data file of ours.
constexpr std::size_t kHeaderReadLimit = 64 * 1024;
constexpr std::size_t kHeaderLines = 17;

// The first lines of the text, each without its CR LF (or lone LF / CR).
std::vector<std::string_view> headerLines(std::string_view text, std::size_t count) {
  std::vector<std::string_view> lines;
  while (lines.size() < count && !text.empty()) {
    const auto stop = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, stop));
    if (stop == std::string_view::npos) break;
    std::size_t skip = stop + 1;
    if (text[stop] == '\r' && skip < text.size() && text[skip] == '\n') ++skip;
    text.remove_prefix(skip);
  }
  return lines;
}

// A decimal number of 0-255 as a line holds it (blanks around allowed).
std::optional<std::uint8_t> byteNumber(std::string_view line) {
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
  if (line.empty() || line.size() > 3) return std::nullopt;
  int value = 0;
  for (char c : line) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > 255) return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

std::string firstCharacters(std::string_view line, std::size_t count) {
  return std::string(line.substr(0, std::min(line.size(), count)));
}

std::string withoutNuls(std::string text) {
  std::replace(text.begin(), text.end(), '\0', ' ');
  return text;
}

Error corrupt() { return makeError(ErrorKind::InvalidData, std::string(kFileCorruptText)); }

std::uint8_t resolutionOfLetter(char letter) {
  switch (letter) {
    case 'A': return kResolution8Bit;
    case 'B': return kResolution10Bit;
    case 'C': return kResolution12Bit;
    default: return kResolutionNotApplicable;
  }
}

}  // namespace

Result<LoggerConfiguration> configurationFromDataHeader(std::string_view fileText,
                                                        const LoggerConfiguration& base) {
  const std::vector<std::string_view> lines = headerLines(fileText, kHeaderLines);
  const auto line = [&](std::size_t number) -> std::optional<std::string_view> {
    if (number == 0 || number > lines.size()) return std::nullopt;
    return lines[number - 1];
  };

  const auto first = line(2);
  if (!first || (first->size() != 21 && first->size() != 24 && first->size() != 26)) return corrupt();
  if (!line(13)) return corrupt();
  const std::string_view typeLine = *line(1);

  LoggerConfiguration c = base;
  c.setSessionDescription(firstCharacters(*line(4), 31));
  for (int ch = 1; ch <= kChannelCount; ++ch)
    c.setChannelDescription(ch, withoutNuls(firstCharacters(*line(5 + static_cast<std::size_t>(ch)), 24)));

  const auto flags = byteNumber(*line(10));
  const auto rate = byteNumber(*line(11));
  const auto channels = byteNumber(*line(12));
  if (!flags || !rate || !channels) return corrupt();
  const int startMode = (*flags & 16) ? 2 : (*flags & 4) ? 1 : 0;
  const int stopMode = (*flags & 32) ? 2 : (*flags & 1) ? 1 : 0;
  c.setModes(startMode, stopMode);
  c.setRateCode(static_cast<char>(*rate));
  for (int ch = 1; ch <= kChannelCount; ++ch) c.setChannelOn(ch, (*channels >> (ch - 1)) & 1);

  if (typeLine.size() == 1) {
    for (int ch = 1; ch <= kChannelCount; ++ch) c.setScaleCode(ch, typeLine[0]);
  } else if (typeLine.size() == 4) {
    for (int ch = 1; ch <= kChannelCount; ++ch) c.setScaleCode(ch, typeLine[static_cast<std::size_t>(ch - 1)]);
  } else if (typeLine.size() >= 5) {
    for (int ch = 1; ch <= kChannelCount; ++ch) {
      const char code = typeLine[static_cast<std::size_t>(ch)];
      const auto scaleLine = line(13 + static_cast<std::size_t>(ch));
      if (!scaleLine) return corrupt();
      c.setScaleCode(ch, code);
      if (code == '3' || code == 'X')
        c.setScaleText(ch, firstCharacters(*scaleLine, 12));
      else  // a base file name: the blanks that pad the field are no part of it
        c.setTableName(ch, bytes::trimmedRight(firstCharacters(*scaleLine, 8)));
    }
  }

  c.setResolution(typeLine.size() > 10 ? resolutionOfLetter(typeLine[9]) : kResolutionNotApplicable);
  std::uint16_t modes = 0;
  if (typeLine.size() >= 8) {
    const auto c1 = static_cast<unsigned char>(typeLine[7]);
    const unsigned c2 = typeLine.size() >= 9 ? static_cast<unsigned char>(typeLine[8]) : 0u;
    modes = static_cast<std::uint16_t>((c1 & 63u) + (c2 & 63u) * 64u);
  }
  c.setInputModes(modes);
  return c;
}

Result<LoggerConfiguration> readConfigurationFromDataFile(const std::filesystem::path& path,
                                                          const LoggerConfiguration& base) {
  auto text = files::readPrefix(path, kHeaderReadLimit);
  if (!text) return makeError(text.error().kind == ErrorKind::NotFound ? ErrorKind::NotFound : ErrorKind::Io,
                              fileIoErrorText(displayName(path)));
  return configurationFromDataHeader(*text, base);
}

bool isDataFileName(std::string_view fileName) {
  if (fileName.size() < 4) return false;
  std::string ext(fileName.substr(fileName.size() - 4));
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch; });
  return ext == ".QX1";
}

}  // namespace brevik::setup
