#include "protocol/scale_tables.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "common/files.h"

namespace brevik::protocol {

namespace fs = std::filesystem;

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A decimal number filling the whole of `token` ('.' as the point, optional
// sign and exponent); nullopt for anything else, infinities and NaN included.
std::optional<float> parseNumber(std::string_view token) {
  // from_chars takes no '+': allow one, but not before another sign.
  if (token.size() > 1 && token.front() == '+' && token[1] != '-' && token[1] != '+')
    token.remove_prefix(1);
  if (token.empty()) return std::nullopt;
  float value = 0.0f;
  const char* first = token.data();
  const char* last = token.data() + token.size();
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Splits text into lines ended by CR LF, LF or a lone CR.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(text) {}

  std::optional<std::string_view> next() {
    if (rest_.empty()) return std::nullopt;
    const auto stop = rest_.find_first_of("\r\n");
    std::string_view line = rest_.substr(0, stop);
    if (stop == std::string_view::npos) {
      rest_ = {};
    } else {
      std::size_t skip = stop + 1;
      if (rest_[stop] == '\r' && skip < rest_.size() && rest_[skip] == '\n') ++skip;
      rest_.remove_prefix(skip);
    }
    return line;
  }

 private:
  std::string_view rest_;
};

std::string improperFormat(std::string_view fileName) {
  return "Sensor Table '" + std::string(fileName) + "' has improper format";
}

// A file far larger than 255 short lines is not a table; reading stops here.
constexpr std::size_t kMaxTableFileBytes = 1 << 20;

char thermocoupleFileLetter(char code) {
  switch (code) {
    case 'Y': case 'v': return 'b';
    case 'Z': case 'w': return 'c';
    case 'd': case 'x': return 'e';
    case 'g': case 'y': return 'j';
    case 'h': case 'z': return 'k';
    case '^': case '{': return 'n';
    case '_': case 'q': return 'r';
    case '`': case '}': return 's';
    case 'a': case '~': return 't';
    default: return code;
  }
}

}  // namespace

// ---------------------------------------------------------------- scale texts

std::string_view scaleTextLowPart(std::string_view scaleText) {
  return scaleText.substr(0, std::min(scaleText.size(), kScaleNumberWidth));
}

std::string_view scaleTextHighPart(std::string_view scaleText) {
  if (scaleText.size() <= kScaleNumberWidth) return {};
  return scaleText.substr(kScaleNumberWidth, kScaleNumberWidth);
}

Result<float> parseScaleNumber(std::string_view field) {
  const std::string_view trimmed = trimBlanks(field);
  if (trimmed.empty()) return 0.0f;
  std::string text(trimmed);
  // Texts typed on a PC whose decimal separator is a comma.
  for (char& c : text)
    if (c == ',') c = '.';
  if (const auto value = parseNumber(text)) return *value;
  return makeError(ErrorKind::InvalidData,
                   "The scale value '" + std::string(field) + "' is not a number");
}

Result<ScaleRange> parseScaleText(std::string_view scaleText) {
  auto low = parseScaleNumber(scaleTextLowPart(scaleText));
  if (!low) return low.error();
  auto high = parseScaleNumber(scaleTextHighPart(scaleText));
  if (!high) return high.error();
  return ScaleRange{*low, *high};
}

std::string linearCaption(std::string_view scaleText) {
  return "Linear: " + std::string(scaleTextLowPart(scaleText)) + " / " +
         std::string(scaleTextHighPart(scaleText));
}

std::string contactCaption(std::string_view scaleText) {
  return "Fer/ouv: " + std::string(scaleTextLowPart(scaleText)) + " / " +
         std::string(scaleTextHighPart(scaleText));
}

// ---------------------------------------------------------- tables per code

TableSource tableSourceFor(char code) {
  switch (code) {
    case '0': case 'R': return TableSource::None;
    case '3': case 'X': return TableSource::ScaleText;
    default: return TableSource::File;
  }
}

bool isThermocoupleCode(char code) { return code >= 'Y' && code <= '~'; }

std::string tableFileName(char code, std::string_view name) {
  if (isThermocoupleCode(code)) return std::string(1, thermocoupleFileLetter(code)) + ".mvt";
  std::string base;
  for (char c : name)
    if (c != ' ') base += c;
  if (base.empty()) return std::string(kDefaultTableFile);
  return base + ".Rvt";
}

// ------------------------------------------------------------------ tables

Result<ScaleTable> parseTableText(std::string_view text, std::string_view fileName,
                                  int fullScale) {
  ScaleTable table;
  table.fileName = std::string(fileName);
  LineReader lines(text);
  lines.next();  // title
  if (const auto kindLine = lines.next(); kindLine && !kindLine->empty()) {
    table.kindLetter = kindLine->front();
    table.kind = table.kindLetter == 'N'   ? TableKind::Percent
                 : table.kindLetter == 'L' ? TableKind::Light
                                           : TableKind::Counts;
  }
  lines.next();  // third line, not used

  int lineNumber = 3;
  while (table.points.size() < kMaxTablePoints) {
    const auto line = lines.next();
    if (!line) break;
    ++lineNumber;
    std::string_view rest = trimBlanks(*line);
    if (rest.empty()) continue;
    float numbers[2] = {0.0f, 0.0f};
    bool good = true;
    for (float& number : numbers) {
      rest = trimBlanks(rest);
      std::size_t end = 0;
      while (end < rest.size() && !isBlank(rest[end])) ++end;
      const auto value = parseNumber(rest.substr(0, end));
      if (!value) { good = false; break; }
      number = *value;
      rest.remove_prefix(end);
    }
    if (!good)
      return makeError(ErrorKind::InvalidData, improperFormat(fileName) + ": line " +
                                                   std::to_string(lineNumber) +
                                                   " is not two numbers");
    float raw = numbers[1];
    if (table.kind == TableKind::Percent) raw = raw * static_cast<float>(fullScale) / 100.0f;
    table.points.push_back(TablePoint{numbers[0], raw});
  }
  if (table.points.size() < 2) return makeError(ErrorKind::InvalidData, improperFormat(fileName));
  return table;
}

namespace {

// The text of a table file in the home, or nullopt when it cannot be opened.
std::optional<std::string> readHomeTable(const fs::path& home, std::string_view fileName) {
  const auto path = findHomeFile(home, fileName);
  if (!path) return std::nullopt;
  auto content = files::readPrefix(*path, kMaxTableFileBytes);
  if (!content) return std::nullopt;
  std::string text = std::move(*content);
  if (text.size() == kMaxTableFileBytes) {
    // The last line may be cut in the middle of a number: leave it out.
    const auto lastBreak = text.find_last_of("\r\n");
    text.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
  }
  return text;
}

}  // namespace

Result<ScaleTable> readTableFile(const fs::path& home, std::string_view fileName, int fullScale) {
  if (auto safe = checkHomeFileName(fileName); !safe)
    return makeError(ErrorKind::Usage, "Sensor Table name refused. " + safe.error().message);
  if (auto text = readHomeTable(home, fileName))
    return parseTableText(*text, fileName, fullScale);
  if (fileName != kDefaultTableFile) {
    if (auto text = readHomeTable(home, kDefaultTableFile))
      return parseTableText(*text, kDefaultTableFile, fullScale);
    return makeError(ErrorKind::NotFound,
                     "Sensor Table '" + std::string(fileName) + "' cannot be opened, nor the " +
                         "default table '" + std::string(kDefaultTableFile) + "'");
  }
  return makeError(ErrorKind::NotFound,
                   "Sensor Table '" + std::string(kDefaultTableFile) + "' cannot be opened");
}

Result<std::optional<ScaleTable>> loadChannelTable(const fs::path& home, char code,
                                                   std::string_view text, int fullScale) {
  switch (tableSourceFor(code)) {
    case TableSource::None:
      return std::optional<ScaleTable>{};
    case TableSource::ScaleText: {
      auto range = parseScaleText(text);
      if (!range) return range.error();
      ScaleTable table;
      table.points = {TablePoint{range->low, 0.0f},
                      TablePoint{range->high, static_cast<float>(fullScale)}};
      return std::optional<ScaleTable>{std::move(table)};
    }
    case TableSource::File:
      break;
  }
  auto table = readTableFile(home, tableFileName(code, text), fullScale);
  if (!table) return table.error();
  return std::optional<ScaleTable>{std::move(*table)};
}

}  // namespace brevik::protocol
