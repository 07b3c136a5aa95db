#pragma once
// The logger's data memory: per resolution, the full-scale count, the bytes
// and readings of one bank and the download lines that carry a bank; per
// model, the number of banks. Every folder takes memory sizes from this one
// table: the settings (the capacity remembered at start-up), the vocabulary,
// the setup form's duration, the data files and the download. It sits in
// common because the settings, which lie below the vocabulary, need it too.

#include <array>
#include <cstdint>
#include <optional>

namespace brevik::memory {

// Data start at this address of every bank; a pointer still there means an
// empty memory.
inline constexpr std::int32_t kFirstDataAddress = 0x0200;
// Bytes of a bank from the first data address to its end (0x7FFF).
inline constexpr std::int32_t kBankBytes = 32256;

struct ResolutionMemory {
  int resolutionCode = 0;        // 1, 2, 3 as LastModelCode stores it
  int bits = 0;
  int fullScale = 0;             // highest raw count
  std::int32_t bankBytes = 0;    // data bytes a bank uses
  std::int32_t bankReadings = 0; // readings that fill a bank
  std::int32_t lineBytes = 0;    // data bytes of one download line

  constexpr std::int32_t linesPerBank() const { return bankBytes / lineBytes; }
};

inline constexpr ResolutionMemory kEightBit{1, 8, 255, 32256, 32256, 96};
// Ten-bit loggers stop six bytes short of the bank's end (0x7FF9), which
// leaves whole lines of five-byte groups.
inline constexpr ResolutionMemory kTenBit{2, 10, 1023, 32250, 25800, 75};
inline constexpr ResolutionMemory kTwelveBit{3, 12, 4095, 32256, 21504, 96};

inline constexpr std::array<ResolutionMemory, 3> kResolutionMemory = {kEightBit, kTenBit, kTwelveBit};

// The row of a resolution code; none for a code that is not 1, 2 or 3.
constexpr std::optional<ResolutionMemory> resolutionMemory(int resolutionCode) {
  for (const ResolutionMemory& r : kResolutionMemory)
    if (r.resolutionCode == resolutionCode) return r;
  return std::nullopt;
}

// Model code '6' (KALDO-M) records into four banks, A to D; every other
// model into one.
constexpr int banksOfModel(char modelCode) { return modelCode == '6' ? 4 : 1; }

// A whole logger's memory: a resolution's bank times the model's banks.
struct LoggerMemory {
  ResolutionMemory bank;
  int banks = 1;

  constexpr std::int32_t capacity() const { return bank.bankReadings * banks; }  // readings
  constexpr std::int32_t lines() const { return bank.linesPerBank() * banks; }   // of a full download
};

// None for a resolution code that is not 1, 2 or 3.
constexpr std::optional<LoggerMemory> loggerMemory(int resolutionCode, char modelCode) {
  const auto bank = resolutionMemory(resolutionCode);
  if (!bank) return std::nullopt;
  return LoggerMemory{*bank, banksOfModel(modelCode)};
}

}  // namespace brevik::memory
