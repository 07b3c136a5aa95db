#include "datafile/data_file_header.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/bytes.h"
#include "common/logger_memory.h"
#include "datafile/data_file_stamps.h"
#include "protocol/vocabulary.h"

namespace brevik::datafile {

namespace {

using protocol::kResolution10Bit;
using protocol::kResolution12Bit;
using protocol::kResolution8Bit;

// Line-breaking and NUL bytes would tear the fixed line layout apart; texts
// the logger sent are written with blanks in their place.
std::string lineSafe(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c == '\0' || c == '\r' || c == '\n') c = ' ';
  return s;
}

std::string fixedWidth(std::string_view text, std::size_t width) { return bytes::padded(lineSafe(text), width); }

std::string badFormat(std::string_view fileName, std::string_view detail) {
  return "Bad file format: " + std::string(fileName) + " (" + std::string(detail) + ")";
}

// A decimal integer, blanks around it allowed; nothing for anything else.
std::optional<long> parseInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long value = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
    if (value < 1000000000L) value = value * 10 + (text[i] - '0');
  while (i < text.size() && text[i] == ' ') ++i;
  if (digits == 0 || i != text.size()) return std::nullopt;
  return negative ? -value : value;
}

std::optional<std::uint8_t> parseByte(std::string_view text) {
  const auto v = parseInteger(text);
  if (!v || *v < 0 || *v > 255) return std::nullopt;
  return static_cast<std::uint8_t>(*v);
}

// The blank-separated words of a line.
std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    const std::size_t start = line.find_first_not_of(' ', i);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(line.find(' ', start), line.size());
    out.push_back(line.substr(start, end - start));
    i = end;
  }
  return out;
}

std::string_view lineAt(const std::vector<std::string_view>& lines, std::size_t index) {
  return index < lines.size() ? lines[index] : std::string_view();
}

// At most `width` characters of a line, as the fixed-size fields hold it.
std::string_view cut(std::string_view text, std::size_t width) { return text.substr(0, std::min(text.size(), width)); }

char at(std::string_view text, std::size_t index) { return index < text.size() ? text[index] : ' '; }

int resolutionFromFlags(std::uint8_t flags) {
  if (!(flags & kFileFlagPacked)) return kResolution8Bit;
  return (flags & kFileFlagTenBit) ? kResolution10Bit : kResolution12Bit;
}

struct TypeLine {
  TypeLineForm form;
  char letter = ' ';  // resolution letter, blank when absent
};

std::optional<TypeLine> parseTypeLine(std::string_view line, DataFileHeaderFields& f) {
  if (line.size() == 1) {
    f.typeCodes.fill(line[0]);
    f.referenceOhms = kReferenceOhms10000;
    return TypeLine{TypeLineForm::SingleCode};
  }
  if (line.size() == 4) {
    for (std::size_t k = 0; k < 4; ++k) {
      const char c = line[k];
      f.typeCodes[k] = (c == '0' || protocol::byteOf(c) >= protocol::byteOf('A')) ? c : '1';
    }
    f.referenceOhms = kReferenceOhms10000;
    return TypeLine{TypeLineForm::FourCodes};
  }
  if (line.size() < 5) return std::nullopt;
  // The full form; a line cut short reads its missing positions as blanks.
  f.referenceOhms = referenceOhmsOfLetter(at(line, 0));
  for (std::size_t k = 0; k < 4; ++k) f.typeCodes[k] = at(line, 1 + k);
  f.revision = at(line, 5);
  f.modelCode = at(line, 6);
  f.inputModes = static_cast<std::uint16_t>((protocol::byteOf(at(line, 7)) & 63) +
                                            (protocol::byteOf(at(line, 8)) & 63) * 64);
  float volts = 0.0f;
  const std::string battery(line.substr(std::min<std::size_t>(10, line.size()), 3));
  if (std::sscanf(battery.c_str(), "%f", &volts) == 1 && std::isfinite(volts)) f.batteryVolts = volts;
  f.lastBank = 'A';
  if (memory::banksOfModel(f.modelCode) > 1) {
    const char bank = at(line, 14);
    if (bank >= 'A' && bank <= 'D') f.lastBank = bank;
  }
  return TypeLine{TypeLineForm::Full, at(line, 9)};
}

}  // namespace

// ------------------------------------------------------------------ letters

char referenceResistorLetter(int ohms) {
  switch (ohms) {
    case kReferenceOhms10000: return 'A';
    case kReferenceOhms30015: return 'B';
    case kReferenceOhms30100: return 'C';
    default: return 'D';
  }
}

int referenceOhmsOfLetter(char letter) {
  switch (letter) {
    case 'A': return kReferenceOhms10000;
    case 'B': return kReferenceOhms30015;
    case 'C': return kReferenceOhms30100;
    default: return kReferenceOhms2000;
  }
}

char resolutionLetter(int resolutionCode) {
  switch (resolutionCode) {
    case kResolution8Bit: return 'A';
    case kResolution10Bit: return 'B';
    case kResolution12Bit: return 'C';
    default: return ' ';
  }
}

int resolutionCodeOfLetter(char letter) {
  switch (letter) {
    case 'A': return kResolution8Bit;
    case 'B': return kResolution10Bit;
    case 'C': return kResolution12Bit;
    default: return 0;
  }
}

// ------------------------------------------------------------------ writing

std::string formatTypeLine(const DataFileHeaderFields& f) {
  std::string line;
  line += referenceResistorLetter(f.referenceOhms);
  for (char c : f.typeCodes) line += c;
  line += f.revision;
  line += f.modelCode;
  const auto modes = protocol::encodeInputModes(f.inputModes);
  line += modes[0];
  line += modes[1];
  line += protocol::byteOf(f.modelCode) < protocol::byteOf('5') ? ' ' : resolutionLetter(f.resolutionCode);
  // Three characters hold the voltage; a reading that would need four is
  // shown as the largest that fits rather than shifting the bank letter.
  const float volts = std::isfinite(f.batteryVolts) ? std::clamp(f.batteryVolts, 0.0f, 9.9f) : 0.0f;
  char battery[8];
  std::snprintf(battery, sizeof battery, "%3.1f", static_cast<double>(volts));
  line += battery;
  line += ' ';
  line += f.lastBank;
  return lineSafe(line);
}

std::string formatTransferLine(std::string_view transferred, std::string_view pcTime) {
  // The PC stamp starts at position 29 whatever the clock style: four
  // blanks after a 24-character stamp, two after a 26-character one.
  std::string line = lineSafe(transferred);
  line += std::string(line.size() < kStampFieldWidth ? kStampFieldWidth - line.size() : 1, ' ');
  line += lineSafe(pcTime);
  return line;
}

std::uint8_t statusFlagsAsWritten(const DataFileHeaderFields& f) {
  std::uint8_t flags = f.statusFlags;
  if (protocol::byteOf(f.modelCode) < protocol::byteOf('5')) {
    // No resolution letter on the type line: bits 7 and 6 must say it.
    if (f.resolutionCode == kResolution12Bit)
      flags = static_cast<std::uint8_t>((flags | kFileFlagPacked) & ~kFileFlagTenBit);
    else if (f.resolutionCode == kResolution10Bit)
      flags = static_cast<std::uint8_t>(flags | kFileFlagPacked | kFileFlagTenBit);
  }
  return flags;
}

std::string formatPointerLine(const DataFileHeaderFields& f) {
  std::string line = std::to_string(f.memoryPointer);
  if (f.resolutionCode == kResolution10Bit || f.resolutionCode == kResolution12Bit)
    line += " " + std::to_string(f.phaseByte);
  return line;
}

std::string formatDataFileHeader(const DataFileHeaderFields& f) {
  std::string out;
  const auto put = [&out](std::string_view line) {
    out += line;
    out += "\r\n";
  };
  put(formatTypeLine(f));
  put(lineSafe(cut(f.first, kStampFieldWidth)));
  put(lineSafe(cut(f.last, kStampFieldWidth)));
  put(fixedWidth(f.session, kSessionWidth));
  put(formatTransferLine(f.transferred, f.pcTime));
  for (const std::string& d : f.descriptions) put(fixedWidth(d, kDescriptionWidth));
  put(std::to_string(statusFlagsAsWritten(f)));
  put(std::to_string(protocol::byteOf(f.rateCode)));
  put(std::to_string(f.channelBits));
  put(formatPointerLine(f));
  for (const std::string& s : f.scalingTexts) put(fixedWidth(s, kScalingTextWidth));
  return out;
}

// ------------------------------------------------------------------ reading

Result<ParsedHeader> parseDataFileHeader(const std::vector<std::string_view>& lines, std::string_view fileName) {
  ParsedHeader h;
  DataFileHeaderFields& f = h.fields;

  const auto typeLine = parseTypeLine(cut(lineAt(lines, 0), 24), f);
  if (!typeLine) return makeError(ErrorKind::InvalidData, badFormat(fileName, "type line"));
  h.form = typeLine->form;

  f.first = bytes::trimmedRight(cut(lineAt(lines, 1), kStampFieldWidth));
  f.last = bytes::trimmedRight(cut(lineAt(lines, 2), kStampFieldWidth));
  if (f.last.size() < 15) {
    auto stamp = dateCodeAsStamp(f.last);
    if (!stamp)
      return makeError(ErrorKind::InvalidData, "Bad date format " + std::string(fileName) + " " + f.last + " " +
                                                   std::to_string(f.last.size()));
    f.last = std::move(*stamp);
  }

  f.session = fixedWidth(cut(lineAt(lines, 3), kSessionWidth), kSessionWidth);
  const std::string_view transfer = cut(lineAt(lines, 4), 255);
  if (transfer.size() >= 40) {
    f.transferred = bytes::trimmedRight(transfer.substr(0, 26));
    f.pcTime = bytes::trimmedRight(transfer.substr(28, 26));
  } else {
    f.transferred = bytes::trimmedRight(transfer);
  }
  for (std::size_t k = 0; k < 4; ++k)
    f.descriptions[k] = fixedWidth(cut(lineAt(lines, 5 + k), kDescriptionWidth), kDescriptionWidth);

  const auto flags = parseByte(lineAt(lines, 9));
  if (!flags) return makeError(ErrorKind::InvalidData, badFormat(fileName, "status flags"));
  f.statusFlags = *flags;
  const auto rate = parseByte(lineAt(lines, 10));
  if (!rate) return makeError(ErrorKind::InvalidData, badFormat(fileName, "rate code"));
  f.rateCode = static_cast<char>(*rate);
  const auto channels = parseByte(lineAt(lines, 11));
  if (!channels) return makeError(ErrorKind::InvalidData, badFormat(fileName, "channel bits"));
  f.channelBits = *channels;

  // "pointer" or "pointer phase".
  const std::vector<std::string_view> pointerLine = words(lineAt(lines, 12));
  const auto pointer = pointerLine.empty() ? std::nullopt : parseInteger(pointerLine[0]);
  if (!pointer || pointerLine.size() > 2) return makeError(ErrorKind::InvalidData, badFormat(fileName, "memory pointer"));
  f.memoryPointer = static_cast<std::int32_t>(std::clamp<long>(*pointer, 0, 65535));
  if (pointerLine.size() == 2) {
    const auto phase = parseByte(pointerLine[1]);
    if (!phase) return makeError(ErrorKind::InvalidData, badFormat(fileName, "phase byte"));
    f.phaseByte = *phase;
    h.hasPhaseByte = true;
  }

  if (h.form == TypeLineForm::Full) {
    for (std::size_t k = 0; k < 4; ++k)
      f.scalingTexts[k] = fixedWidth(cut(lineAt(lines, 13 + k), kScalingTextWidth), kScalingTextWidth);
    h.linesUsed = kHeaderLineCount;
  } else {
    for (std::size_t k = 0; k < 4; ++k) f.scalingTexts[k] = std::string(1, f.typeCodes[k]) + std::string(11, ' ');
    h.linesUsed = kShortHeaderLineCount;
  }
  if (lines.size() < h.linesUsed) return makeError(ErrorKind::InvalidData, badFormat(fileName, "header incomplete"));

  const int byLetter = resolutionCodeOfLetter(typeLine->letter);
  f.resolutionCode = byLetter != 0 ? byLetter : resolutionFromFlags(f.statusFlags);

  if ((f.channelBits & 0x0F) == 0)
    return makeError(ErrorKind::InvalidData, "Bad file format(0): " + std::string(fileName));
  return h;
}

}  // namespace brevik::datafile
