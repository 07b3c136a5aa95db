#pragma once
// The header of a logger data file (.QX1): seventeen text lines written from
// the logger's status when a download starts (thirteen in files of older
// programs, whose type line is short), before the data lines.
//
//   1      type line: reference resistor, type codes, revision, model,
//          input modes, resolution letter, battery, last bank
//   2, 3   First and Last time stamps
//   4      session description (31)
//   5      transfer line: "Transferred" stamp, blanks, "Eq. PC time" stamp
//   6-9    channel descriptions (24 each)
//   10-13  status flags, rate code, channel bits, memory pointer [phase byte]
//   14-17  scaling texts (12 each), only after a full type line
//
// Texts are Windows-1252 bytes.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/logger_memory.h"
#include "common/result.h"

namespace brevik::datafile {

inline constexpr std::size_t kHeaderLineCount = 17;
inline constexpr std::size_t kShortHeaderLineCount = 13;
inline constexpr std::size_t kSessionWidth = 31;
inline constexpr std::size_t kDescriptionWidth = 24;
inline constexpr std::size_t kScalingTextWidth = 12;
inline constexpr std::size_t kStampFieldWidth = 28;  // lines 2 and 3, and where line 5's second stamp starts

// Status-flag bits as the data file uses them.
inline constexpr std::uint8_t kFileFlagPacked = 0x80;     // 10 or 12 bit
inline constexpr std::uint8_t kFileFlagTenBit = 0x40;     // with kFileFlagPacked
inline constexpr std::uint8_t kFileFlagStopOnOpen = 0x20;
inline constexpr std::uint8_t kFileFlagWrapped = 0x08;
// Channel-bits bit 5: stop when channel 1 opens, as configured.
inline constexpr std::uint8_t kChannelBitStopOnOpen = 0x20;

// Reference resistors the type line can name.
inline constexpr int kReferenceOhms10000 = 10000;  // 'A'
inline constexpr int kReferenceOhms30015 = 30015;  // 'B'
inline constexpr int kReferenceOhms30100 = 30100;  // 'C'
inline constexpr int kReferenceOhms2000 = 2000;    // any other letter

enum class TypeLineForm {
  SingleCode,  // one character: the type code of all four channels
  FourCodes,   // the four type codes
  Full,        // the fifteen-character form
};

// Exactly the values the header lines carry. The writer formats them; the
// reader fills them (short type lines leave the defaults for what they lack).
struct DataFileHeaderFields {
  // Line 1.
  int referenceOhms = kReferenceOhms10000;
  std::array<char, 4> typeCodes{'0', '0', '0', '0'};
  char revision = 'A';
  char modelCode = '0';
  std::uint16_t inputModes = 0;  // the 12-bit word, three bits per channel
  int resolutionCode = 1;        // 1 = 8 bit, 2 = 10 bit, 3 = 12 bit
  float batteryVolts = 0.0f;
  char lastBank = 'A';
  // Lines 2-5: time-stamp texts as they stand.
  std::string first;
  std::string last;
  std::string transferred;  // logger clock at the transfer (four-digit year)
  std::string pcTime;       // PC clock at the same moment ("Eq. PC time")
  // Lines 4, 6-9.
  std::string session;
  std::array<std::string, 4> descriptions;
  // Lines 10-13.
  std::uint8_t statusFlags = 0;
  char rateCode = 'M';
  std::uint8_t channelBits = 0;
  std::int32_t memoryPointer = memory::kFirstDataAddress;
  std::uint8_t phaseByte = 0;
  // Lines 14-17.
  std::array<std::string, 4> scalingTexts;

  bool wrapMode() const { return (statusFlags & kFileFlagWrapped) != 0; }
};

// ------------------------------------------------------------------ writing

// The header lines as they are written, each ended by CR LF.
std::string formatDataFileHeader(const DataFileHeaderFields& fields);

// The single lines, without line ends (for tests and for the reader's mirror).
std::string formatTypeLine(const DataFileHeaderFields& fields);
std::string formatTransferLine(std::string_view transferred, std::string_view pcTime);
// Line 10: the status flags as written; loggers whose model code is below
// '5' have no resolution letter, so the flags must tell the resolution.
std::uint8_t statusFlagsAsWritten(const DataFileHeaderFields& fields);
std::string formatPointerLine(const DataFileHeaderFields& fields);

// Letter of the reference resistor and back.
char referenceResistorLetter(int ohms);
int referenceOhmsOfLetter(char letter);

// Resolution letter 'A', 'B', 'C' of a resolution code and back (0 if none).
char resolutionLetter(int resolutionCode);
int resolutionCodeOfLetter(char letter);

// ------------------------------------------------------------------ reading

struct ParsedHeader {
  // The resolution code comes from the type line's letter when it has one,
  // else from the status flags (bit 7 clear: 8 bit; with bit 6: 10 bit;
  // bit 7 alone: 12 bit). A Last date code is rewritten into a stamp.
  DataFileHeaderFields fields;
  TypeLineForm form = TypeLineForm::Full;
  bool hasPhaseByte = false;
  std::size_t linesUsed = 0;  // header lines consumed (13 or 17)
};

// Reads the header from the first lines of a file. `fileName` is used in the
// messages, which are the ones the user sees: "Bad date format ...", "Bad
// file format(0): ..." and, for damage the older program did not detect,
// "Bad file format: ...".
Result<ParsedHeader> parseDataFileHeader(const std::vector<std::string_view>& lines,
                                         std::string_view fileName);

}  // namespace brevik::datafile
