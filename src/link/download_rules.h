#pragma once
// The rules of a memory download as pure functions: what a block request
// says, which reply lines are good, and how the address and the bank letter
// move after each good line until the download is complete.
//
// Memory of a bank runs from 0x0200 to 0x7FFF (32,256 bytes, 336 lines of
// 96 bytes); a 10-bit logger's bank ends at 0x7FF9 (430 lines of 75 bytes).
// Loggers of model '6' have four banks, A to D; the others one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/logger_memory.h"

namespace brevik::link {

inline constexpr auto kFirstMemoryAddress = static_cast<std::uint32_t>(memory::kFirstDataAddress);
inline constexpr int kResolutionCode10Bit = 2;
inline constexpr int kResolutionCode12Bit = 3;
// Consecutive bad lines or time-outs that end a download.
inline constexpr std::uint8_t kDownloadRetryLimit = 50;
// A 12-bit line shorter than this is refused even with a good checksum.
inline constexpr std::size_t kMinTwelveBitLineLength = 160;

// 75 data bytes per line on 10-bit loggers, 96 on the others.
std::uint32_t bytesPerLine(int resolutionCode);

// Good lines after which a download is complete whatever the addresses say.
std::uint32_t lineLimit(int resolutionCode, bool fourBanks);

// "D" + bank letter + four hex digits of the address (framed by the engine).
std::string blockRequestBody(char bankLetter, std::uint32_t address);

// A -> B -> C -> D -> A.
char nextBankLetter(char bankLetter);

// A reply line is kept when its checksum holds and, from a 12-bit logger,
// it is at least 160 characters long and differs from the previous good
// line (such loggers sometimes send a line twice).
bool isGoodLine(std::string_view line, int resolutionCode, std::string_view previousGoodLine);

// Where a download stands: the next address and bank to request, where it
// ends, and how many good lines it has.
struct DownloadCursor {
  std::uint32_t address = kFirstMemoryAddress;
  std::uint32_t endAddress = kFirstMemoryAddress;
  char bank = 'A';
  char endBank = 'A';
  bool wrapMode = false;   // the logger's memory has wrapped
  bool fourBanks = false;  // model '6'
  int resolutionCode = 1;
  std::uint32_t goodLines = 0;

  // In wrap mode the download starts at the memory pointer, in the bank the
  // logger writes; otherwise at 0x0200 of bank A.
  static DownloadCursor begin(int resolutionCode, bool fourBanks, bool wrapMode,
                              std::uint16_t memoryPointer, char endBank);

  struct Step {
    std::optional<char> endLine;  // write "Z" + this letter
    bool complete = false;
  };

  // Moves past one good line.
  Step afterGoodLine();

  // Good lines still to come before the download is complete.
  std::uint32_t linesToEnd() const;

 private:
  bool addressWraps() const;
  void wrapAddress();
};

// The file name without its directory ("C:\data\site1a.qx1" -> "site1a.qx1").
std::string fileNameWithoutDirectory(std::string_view fileName);

// The CSV file an export after a download writes: the data file name without
// directory, its last four characters replaced by ".csv".
std::string autoExportCsvName(std::string_view dataFileName);

}  // namespace brevik::link
