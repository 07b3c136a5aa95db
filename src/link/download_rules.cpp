#include "link/download_rules.h"

#include "common/logger_memory.h"
#include "link/framing.h"

namespace brevik::link {

namespace {

// A code that is not 1, 2 or 3 is downloaded as 8 bit.
memory::ResolutionMemory bankOf(int resolutionCode) {
  return memory::resolutionMemory(resolutionCode).value_or(memory::kEightBit);
}

// The address past a bank's last data byte, and the span a wrapped address
// comes back by.
std::uint32_t bankEnd(int resolutionCode) {
  return static_cast<std::uint32_t>(memory::kFirstDataAddress + bankOf(resolutionCode).bankBytes);
}
std::uint32_t wrapSpan(int resolutionCode) { return static_cast<std::uint32_t>(bankOf(resolutionCode).bankBytes); }

}  // namespace

std::uint32_t bytesPerLine(int resolutionCode) { return static_cast<std::uint32_t>(bankOf(resolutionCode).lineBytes); }

std::uint32_t lineLimit(int resolutionCode, bool fourBanks) {
  const auto perBank = static_cast<std::uint32_t>(bankOf(resolutionCode).linesPerBank());
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
  return address >= bankEnd(resolutionCode);
}

void DownloadCursor::wrapAddress() {
  address -= wrapSpan(resolutionCode);
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
