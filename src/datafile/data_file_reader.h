#pragma once
// Reads a logger data file (.QX1) whole: the header, then every memory bank
// it holds, unpacked and split by channel. The result is one value, or an
// Error carrying the message the user sees; a file is never half loaded.
//
// Memory geometry (common/logger_memory.h): each bank is the data memory
// from address 512 on, 32,256 bytes (32,250 on 10-bit loggers). Outside
// wrap mode the banks run A, B, ... up to the last bank named in the
// header, each but the last a full memory.
// In wrap mode an image starts at the memory pointer (the oldest data) and
// holds a full memory; a four-bank logger gives four such images.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/clock.h"
#include "common/logger_memory.h"
#include "common/result.h"
#include "datafile/data_file_header.h"

namespace brevik::datafile {

inline constexpr std::size_t kSlotBufferEntries = 32768;    // the loader's sample buffer
// The most a data file (.QX1) is read for: four full banks written as hex
// lines take about 265 kB whatever the resolution; twice that, and room for
// the header, leaves a damaged but honest file readable while /dev/zero or a
// wrong file of gigabytes is refused at once.
inline constexpr std::size_t kMaxDataFileBytes = 4 * 2 * (2 * 32256) + 16384;

// Memory bytes of one bank and the samples that fill it (per resolution
// code; a code that is not 1, 2 or 3 reads as 8 bit).
std::int32_t bankBytes(int resolutionCode);
std::int32_t bankSamples(int resolutionCode);
// Hex digits of data per line: 192 (96 bytes), or 150 (75 bytes) at 10 bit.
std::size_t dataDigitsPerLine(int resolutionCode);

// Where the samples of channel slot j (0-based) begin in the loader's
// 32,768-entry buffer when `activeChannels` (1-4) channels are on.
std::size_t channelSlotStart(int activeChannels, int slot);

struct DataBank {
  char letter = 'A';
  // Samples per channel the header promises for this bank.
  std::size_t samplesPerChannel = 0;
  // samples[slot][k]: raw count k of the slot's channel. Every slot has the
  // same length: samplesPerChannel, or fewer when the file ends early.
  std::vector<std::vector<std::uint16_t>> samples;
  // The byte the last packing group took its low bits from (wrap mode).
  std::optional<std::uint8_t> tailByte;

  std::size_t loadedSamples() const { return samples.empty() ? 0 : samples.front().size(); }
};

struct LoggerDataFile;

// One warning per bank that holds fewer samples than its header promises
// (a file cut short by a failed copy or a full disk), naming `shownName`.
std::vector<std::string> shortBankWarnings(const LoggerDataFile& file, std::string_view shownName);

struct LoggerDataFile {
  DataFileHeaderFields header;
  TypeLineForm typeLineForm = TypeLineForm::Full;
  bool hasPhaseByte = false;

  int resolutionCode = 1;
  int fullScale = memory::kEightBit.fullScale;
  bool wrapMode = false;
  int phase = 0;                 // wrap mode: samples of the cut group missing at the start
  std::vector<int> channels;     // active channel numbers 1-4, ascending; slot j holds channels[j]
  std::vector<DataBank> banks;   // in file order, every bank the header promises

  // Parsed time stamps (none when a text is not a stamp) and the messages a
  // malformed stamp raised ("Invalid Date string", "Invalid Month string").
  std::optional<DateTime> firstTime;
  std::optional<DateTime> lastTime;
  std::optional<DateTime> transferredTime;
  std::optional<DateTime> pcTime;
  std::vector<std::string> stampWarnings;
};

// Reads a file already in memory. `fileName` names it in messages.
Result<LoggerDataFile> parseLoggerDataFile(std::string_view content, std::string_view fileName);

// Reads the named file; when it cannot be opened and `programDir` is given,
// retries with the bare file name in that directory. A file found nowhere
// gives "File: " + name + " not found".
Result<LoggerDataFile> readLoggerDataFile(const std::filesystem::path& path,
                                          const std::optional<std::filesystem::path>& programDir = std::nullopt);

// Splits file content into lines at CR LF (a bare LF or CR also ends a line).
std::vector<std::string_view> splitLines(std::string_view content);

}  // namespace brevik::datafile
