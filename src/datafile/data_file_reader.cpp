#include "datafile/data_file_reader.h"

#include <algorithm>

#include "common/cp1252.h"
#include "common/files.h"
#include "datafile/data_file_stamps.h"
#include "datafile/sample_unpacking.h"
#include "protocol/vocabulary.h"

namespace brevik::datafile {

namespace {

using protocol::kResolution10Bit;
using protocol::kResolution12Bit;
using protocol::kResolution8Bit;

// A hex digit as the logger's files have always been read: letters count
// from 10 ('A' and 'a' alike), and anything else is its low four bits, so a
// damaged digit gives a wrong count, never a failure.
std::uint8_t hexNibble(char c) {
  unsigned v = protocol::byteOf(c);
  if (v > '9') v += 9;
  return static_cast<std::uint8_t>(v & 15);
}

memory::ResolutionMemory bankOf(int resolutionCode) {
  return memory::resolutionMemory(resolutionCode).value_or(memory::kEightBit);
}

bool endsBank(std::string_view line) { return !line.empty() && line[0] == 'Z'; }

char bankAfter(char letter) { return letter >= 'D' || letter < 'A' ? 'A' : static_cast<char>(letter + 1); }

// The data bytes of one bank section: its lines up to a 'Z' line or the end.
struct Section {
  std::vector<std::uint8_t> bytes;
  std::optional<std::size_t> firstLineBytes;  // data bytes of its first line
};

// Reads sections from line `next` on; stops at the end of the file, and for
// packed files at an empty line, which ends the data as the end of file does.
std::vector<Section> readSections(const std::vector<std::string_view>& lines, std::size_t next, int resolutionCode,
                                  std::size_t wanted) {
  const std::size_t digits = dataDigitsPerLine(resolutionCode);
  const std::size_t capacity = static_cast<std::size_t>(bankBytes(resolutionCode));
  std::vector<Section> sections;
  bool endOfData = false;
  while (sections.size() < wanted && next < lines.size() && !endOfData) {
    Section s;
    s.bytes.reserve(capacity);
    for (; next < lines.size(); ++next) {
      const std::string_view line = lines[next];
      if (endsBank(line)) {
        ++next;
        break;
      }
      if (line.empty()) {
        if (resolutionCode == kResolution8Bit) continue;
        endOfData = true;
        break;
      }
      const std::string_view data = line.substr(0, std::min(line.size(), digits));
      const std::size_t before = s.bytes.size();
      for (std::size_t i = 0; i + 1 < data.size(); i += 2)
        s.bytes.push_back(static_cast<std::uint8_t>(hexNibble(data[i]) * 16 + hexNibble(data[i + 1])));
      if (!s.firstLineBytes) s.firstLineBytes = s.bytes.size() - before;
    }
    sections.push_back(std::move(s));
  }
  return sections;
}

std::size_t bankCount(const DataFileHeaderFields& h) {
  if (h.wrapMode()) return static_cast<std::size_t>(memory::banksOfModel(h.modelCode));
  return static_cast<std::size_t>(h.lastBank - 'A') + 1;
}

// Samples per channel of the bank that recording ended in, outside wrap mode.
std::size_t samplesFromPointer(const DataFileHeaderFields& h, int activeChannels) {
  const std::int32_t used = std::clamp(h.memoryPointer - memory::kFirstDataAddress, 0, memory::kBankBytes);
  return packedSampleCount(h.resolutionCode, static_cast<std::size_t>(used)) /
         static_cast<std::size_t>(activeChannels);
}

// Loads one bank from its section: unpacks the stream and splits it by slot.
DataBank loadBank(const Section& section, const LoggerDataFile& file, std::size_t samplesPerChannel,
                  std::uint8_t tail) {
  const std::size_t n = file.channels.size();
  DataBank bank;
  bank.samplesPerChannel = samplesPerChannel;
  std::vector<std::uint16_t> stream(samplesPerChannel * n);
  std::size_t produced = 0;
  if (file.wrapMode) {
    const std::size_t memory = std::min(section.bytes.size(), static_cast<std::size_t>(bankBytes(file.resolutionCode)));
    produced = unpackWrapped(file.resolutionCode, std::span(section.bytes).first(memory), file.phase, tail, stream);
    if (file.resolutionCode != kResolution8Bit) bank.tailByte = tail;
  } else {
    produced = unpackAligned(file.resolutionCode, section.bytes, stream);
  }
  const std::size_t loaded = std::min(samplesPerChannel, produced / n);
  bank.samples.assign(n, std::vector<std::uint16_t>(loaded));
  for (std::size_t k = 0; k < loaded; ++k)
    for (std::size_t j = 0; j < n; ++j) bank.samples[j][k] = stream[k * n + j];
  return bank;
}

}  // namespace

std::int32_t bankBytes(int resolutionCode) { return bankOf(resolutionCode).bankBytes; }

std::int32_t bankSamples(int resolutionCode) { return bankOf(resolutionCode).bankReadings; }

std::size_t dataDigitsPerLine(int resolutionCode) {
  return 2 * static_cast<std::size_t>(bankOf(resolutionCode).lineBytes);
}

std::size_t channelSlotStart(int activeChannels, int slot) {
  if (activeChannels < 1 || activeChannels > 4 || slot < 0 || slot >= activeChannels) return 0;
  static constexpr std::array<std::array<std::size_t, 4>, 4> kStarts = {{
      {0, 0, 0, 0},
      {0, 16384, 0, 0},
      {0, 10922, 21844, 0},
      {0, 8192, 16384, 24576},
  }};
  return kStarts[static_cast<std::size_t>(activeChannels - 1)][static_cast<std::size_t>(slot)];
}

std::vector<std::string_view> splitLines(std::string_view content) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t end = content.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(content.substr(start));
      break;
    }
    lines.push_back(content.substr(start, end - start));
    start = end + 1;
    if (content[end] == '\r' && start < content.size() && content[start] == '\n') ++start;
  }
  return lines;
}

Result<LoggerDataFile> parseLoggerDataFile(std::string_view content, std::string_view fileName) {
  const std::vector<std::string_view> lines = splitLines(content);
  auto parsed = parseDataFileHeader(lines, fileName);
  if (!parsed) return parsed.error();

  LoggerDataFile file;
  file.header = std::move(parsed->fields);
  file.typeLineForm = parsed->form;
  file.hasPhaseByte = parsed->hasPhaseByte;
  const DataFileHeaderFields& h = file.header;
  file.resolutionCode = h.resolutionCode;
  file.fullScale = protocol::resolutionFacts(h.resolutionCode, protocol::kModelCodeUnknown)->fullScale;
  file.wrapMode = h.wrapMode();
  file.phase = file.wrapMode ? wrapPhase(h.resolutionCode, h.phaseByte) : 0;
  for (int c = 1; c <= 4; ++c)
    if (h.channelBits & (1 << (c - 1))) file.channels.push_back(c);
  const int n = static_cast<int>(file.channels.size());

  file.firstTime = parseFileStamp(h.first, &file.stampWarnings);
  file.lastTime = parseFileStamp(h.last, &file.stampWarnings);
  file.transferredTime = parseFileStamp(h.transferred, &file.stampWarnings);
  file.pcTime = parseFileStamp(h.pcTime, &file.stampWarnings);

  const std::size_t wanted = bankCount(h);
  const std::vector<Section> sections = readSections(lines, parsed->linesUsed, h.resolutionCode, wanted);
  const std::size_t fullBank = static_cast<std::size_t>(bankSamples(h.resolutionCode)) / static_cast<std::size_t>(n);
  // A logger told to stop when channel 1 opens records one reading too many
  // per channel unless it reports that stop itself.
  const bool dropLast = (h.channelBits & kChannelBitStopOnOpen) && !(h.statusFlags & kFileFlagStopOnOpen);

  char letter = file.wrapMode ? h.lastBank : 'A';
  // Every bank the header promises is listed; one the file lacks (it ended
  // early) is listed with nothing loaded.
  const Section missing;
  for (std::size_t i = 0; i < wanted; ++i, letter = bankAfter(letter)) {
    const bool last = i + 1 == wanted;
    std::size_t perChannel = file.wrapMode || !last ? fullBank : samplesFromPointer(h, n);
    if (last && dropLast && perChannel > 1) --perChannel;
    // The cut group's low bits: for all but the last image they are in the
    // next image's first line; the last group's were still in the logger.
    std::uint8_t tail = h.phaseByte;
    const int lowIndex = lowBitsByteIndex(h.resolutionCode, file.phase);
    if (!last && i + 1 < sections.size() && lowIndex >= 0) {
      const Section& next = sections[i + 1];
      if (next.firstLineBytes && static_cast<std::size_t>(lowIndex) < *next.firstLineBytes)
        tail = next.bytes[static_cast<std::size_t>(lowIndex)];
    }
    DataBank bank = loadBank(i < sections.size() ? sections[i] : missing, file, perChannel, tail);
    bank.letter = letter;
    file.banks.push_back(std::move(bank));
  }
  return file;
}

std::vector<std::string> shortBankWarnings(const LoggerDataFile& file, std::string_view shownName) {
  std::vector<std::string> warnings;
  for (const DataBank& bank : file.banks) {
    if (bank.loadedSamples() >= bank.samplesPerChannel) continue;
    warnings.push_back(std::string(shownName) + " is shorter than its header says: bank " + bank.letter +
                       " holds " + std::to_string(bank.loadedSamples()) + " of " +
                       std::to_string(bank.samplesPerChannel) + " samples per channel");
  }
  return warnings;
}

Result<LoggerDataFile> readLoggerDataFile(const std::filesystem::path& path,
                                          const std::optional<std::filesystem::path>& programDir) {
  auto content = files::readBounded(path, kMaxDataFileBytes);
  if (!content && content.error().kind == ErrorKind::NotFound && programDir && path.has_filename())
    content = files::readBounded(*programDir / path.filename(), kMaxDataFileBytes);
  const std::string name = fromUtf8(path.string());
  if (!content) return files::dataFileReadError(content.error(), name);
  return parseLoggerDataFile(*content, name);
}

}  // namespace brevik::datafile
