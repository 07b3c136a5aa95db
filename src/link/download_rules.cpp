#include "link/download_rules.h"

#include "link/framing.h"

namespace brevik::link {

namespace {

constexpr std::uint32_t kBankEnd = 0x8000;
constexpr std::uint32_t kBankEnd10Bit = 0x7FFA;
constexpr std::uint32_t kWrapSpan = 0x7E00;
constexpr std::uint32_t kWrapSpan10Bit = 0x7DFA;

}  // namespace

std::uint32_t bytesPerLine(int resolutionCode) {
  return resolutionCode == kResolutionCode10Bit ? 75 : 96;
}

std::uint32_t lineLimit(int resolutionCode, bool fourBanks) {
  const std::uint32_t perBank = resolutionCode == kResolutionCode10Bit ? 430 : 336;
  return fourBanks ? 4 * perBank : perBank;
}

std::string blockRequestBody(char bankLetter, std::uint32_t address) {
  return "D" + std::string(1, bankLetter) + hexWord(static_cast<std::uint16_t>(address & 0xFFFF));
}

char nextBankLetter(char bankLetter) {
  switch (bankLetter) {
    case 'A': return 'B';
    case 'B': return 'C';
    case 'C': return 'D';
    default: return 'A';
  }
}

bool isGoodLine(std::string_view line, int resolutionCode, std::string_view previousGoodLine) {
  if (!replyChecksumOK(line)) return false;
  if (resolutionCode != kResolutionCode12Bit) return true;
  return line != previousGoodLine && line.size() >= kMinTwelveBitLineLength;
}

DownloadCursor DownloadCursor::begin(int resolutionCode, bool fourBanks, bool wrapMode,
                                     std::uint16_t memoryPointer, char endBank) {
  DownloadCursor c;
  c.resolutionCode = resolutionCode;
  c.fourBanks = fourBanks;
  c.wrapMode = wrapMode;
  c.endAddress = memoryPointer;
  c.endBank = endBank;
  if (wrapMode) {
    c.address = memoryPointer;
    c.bank = endBank;
  } else {
    c.address = kFirstMemoryAddress;
    c.bank = 'A';
  }
  return c;
}

bool DownloadCursor::addressWraps() const {
  return address >= (resolutionCode == kResolutionCode10Bit ? kBankEnd10Bit : kBankEnd);
}

void DownloadCursor::wrapAddress() {
  address -= resolutionCode == kResolutionCode10Bit ? kWrapSpan10Bit : kWrapSpan;
}

DownloadCursor::Step DownloadCursor::afterGoodLine() {
  Step step;
  ++goodLines;
  address += bytesPerLine(resolutionCode);

  if (fourBanks) {
    if (wrapMode) {
      // The ring runs through all four banks: each image ends where the
      // pointer stands in the next bank.
      if (addressWraps()) {
        wrapAddress();
        bank = nextBankLetter(bank);
      }
      if (address == endAddress) {
        if (bank == endBank) step.complete = true;
        else step.endLine = bank;
      }
    } else if (address >= endAddress && bank == endBank) {
      step.complete = true;
    } else if (addressWraps()) {
      step.endLine = bank;
      bank = nextBankLetter(bank);
      wrapAddress();
    }
  } else if (wrapMode) {
    if (addressWraps()) wrapAddress();
    if (address == endAddress) step.complete = true;
  } else if (address >= endAddress) {
    step.complete = true;
  }

  if (goodLines >= lineLimit(resolutionCode, fourBanks)) step.complete = true;
  return step;
}

std::uint32_t DownloadCursor::linesToEnd() const {
  DownloadCursor walk = *this;
  std::uint32_t lines = 0;
  while (walk.goodLines < lineLimit(resolutionCode, fourBanks)) {
    ++lines;
    if (walk.afterGoodLine().complete) break;
  }
  return lines;
}

std::string fileNameWithoutDirectory(std::string_view fileName) {
  const auto cut = fileName.find_last_of("\\/:");
  return std::string(cut == std::string_view::npos ? fileName : fileName.substr(cut + 1));
}

std::string autoExportCsvName(std::string_view dataFileName) {
  std::string name = fileNameWithoutDirectory(dataFileName);
  name.resize(name.size() >= 4 ? name.size() - 4 : 0);
  return name + ".csv";
}

}  // namespace brevik::link
