#pragma once
// The logger's one-character vocabulary: models and resolutions, firmware
// revisions and the features they unlock, sample-rate codes, channel type
// codes, thermocouple codes and input modes. Tables and pure functions only;
// the current logger's facts live with whoever decoded its status.
//
// Characters are compared as unsigned bytes everywhere ('A' < 'Z' < 'a' < 'z'
// and bytes above 0x7F sort last), never as signed chars.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/logger_memory.h"

namespace brevik::protocol {

// The byte value of a code character.
constexpr unsigned byteOf(char c) { return static_cast<unsigned char>(c); }

// ---------------------------------------------------------------- resolution

// Resolution code as the settings store it (`LastModelCode`): 1, 2 or 3.
inline constexpr int kResolution8Bit = memory::kEightBit.resolutionCode;
inline constexpr int kResolution10Bit = memory::kTenBit.resolutionCode;
inline constexpr int kResolution12Bit = memory::kTwelveBit.resolutionCode;

struct ResolutionFacts {
  int fullScale = 0;              // highest raw count
  std::int32_t memoryReadings = 0;  // readings the memory holds
};

// "8 bit", "10 bit", "12 bit"; empty for a code that is not 1, 2 or 3.
std::string_view resolutionText(int resolutionCode);

// The code of a resolution given in bits (8, 10, 12); none for other values.
std::optional<int> resolutionCodeFromBits(int bits);

// The code from the status flags; the 12-bit flag wins when both are set,
// neither flag means 8 bit.
int resolutionCodeFromFlags(bool twelveBit, bool tenBit);

// Full scale and memory size of a resolution code and model code, from the
// memory table (model '6' has four banks). None for a code that is not 1, 2
// or 3, so the caller keeps what it had.
std::optional<ResolutionFacts> resolutionFacts(int resolutionCode, char modelCode);

// --------------------------------------------------------------------- model

// Model code of loggers whose status reply carries none.
inline constexpr char kModelCodeUnknown = '0';

// The model name shown to the user, e.g. "MT611", "KALDO     12 bit",
// "KALDO-M 10 bit", "MT533".
std::string modelName(char modelCode, bool twelveBit, bool tenBit);

// ------------------------------------------------------------------ revision

// A revision below 'A' counts as 'A' ...
char effectiveRevision(char revision);
// ... and marks the logger as old firmware.
bool isOldFirmware(char revision);

// -1, 0, +1 comparing two revisions as bytes (after the below-'A' rule).
int compareRevisions(char a, char b);

// One predicate per feature the firmware revision gates.
bool revisionSendsModelCode(char revision);        // above 'I'
bool revisionSendsStationAddress(char revision);   // above 'N'
bool revisionSendsInputModes(char revision);       // 'Q' and up
bool revisionSupportsRealTime(char revision, bool overModem);  // 'O'; 'p' over a modem
bool revisionShowsBattery(char revision);          // 'c' and up
char configurationHeaderCommand(char revision);    // '0' from 'I' on, else '1'
bool revisionSupportsRatesFasterThan2Seconds(char revision);  // 'H': codes below 'C'
bool revisionSupportsRatesUpTo2Seconds(char revision);        // 'F': codes '4' to 'C'
bool revisionSupports3Hours(char revision);                   // 'H': code 'S'
bool revisionSupportsLateRates(char revision);                // 'L': codes 'T', 'U', 'V'
bool revisionSaysChannel1(char revision);          // 'o' and up
bool referenceResistorIs30100(char revision);      // 'q' and up
// 'G' and up: an 8- or 10-bit logger whose battery reads below 129 carries
// a 30015-ohm reference resistor (older ones have 10000 ohms).
bool referenceResistorMayBe30015(char revision);
// 'S' and up: the firmware reads a station address in every framed command,
// so the logger can share a line with others (network mode).
bool revisionTakesStationAddress(char revision);
// 'p' and up: the firmware sends one real-time reading for each "Y"; older
// loggers stream readings unasked after "Z" until a wake-up stops them.
bool revisionSendsReadingsOnRequest(char revision);
// Above 'T': the firmware takes new scaling and labels without a new setup;
// up to 'T' it needs an upgrade for that.
bool revisionSupportsLabelsOnly(char revision);
// 'A' to 'G' only, the letter as identified (no below-'A' rule): the first
// firmware, whose replies are short.
bool revisionGivesShortReplies(char letter);

// Whether a logger of this revision can record at this rate: every row of
// the rate gates that applies to the code must hold. False for a code that
// is not a rate code.
bool revisionSupportsRate(char revision, char rateCode);

// ---------------------------------------------------------------- rate codes

struct RateInfo {
  char code;
  std::string_view text;  // ten characters, blanks included
  float minutes;          // interval between readings
};

// The 28 rates in table order ('4' to ';', then 'C' to 'V').
std::span<const RateInfo> rateTable();

// The 28 rate codes in table order.
const std::array<char, 28>& allRateCodes();

bool isRateCode(char code);

// Ten-character display text; none for a code not in the table, so the
// caller keeps the text it had.
std::optional<std::string_view> rateText(char code);

// Interval in minutes; 60 for 'M' and for any code not in the table.
float rateInterval(char code);

// Codes below 'C': faster than one reading every 2 seconds.
bool isFastRate(char code);

// The approximate rates ("~2", "~4", "~6 seconds") run slower than their
// nominal value on some loggers; this returns the interval actually seen.
float correctedInterval(float minutes);

// ---------------------------------------------------------- channel types

enum class ChannelKind {
  Off,             // '0'
  NamedTable,      // '1': the channel record names the table
  Linear,          // '3'
  Contact,         // 'X': open/closed, linear scaling
  Resistance,      // 'R': ohms
  Light,           // 'L'
  Thermistor,      // 'A', 'B', 'C'
  OtherResistive,  // any other code below 'Y': table named after the code
  Thermocouple,    // 'Y' to '~'
  Unknown,         // bytes above '~': no defined conversion
};

ChannelKind classifyChannelType(char typeCode);

// The resistive table of a type code ("A.Rvt", "L.Rvt", "P.Rvt", ...): the
// code followed by ".Rvt", for light, thermistor and other resistive codes.
std::optional<std::string> resistiveTableFile(char typeCode);

// The table of a channel scaled by a named table: base name + ".Rvt".
std::string namedTableFile(std::string_view baseName);

// ----------------------------------------------------------- thermocouples

struct ThermocoupleInfo {
  std::optional<std::string_view> label;  // "K thermocouple", "J low temp"; none when unlisted
  std::string tableFile;                   // "k.mvt"
  int range = 2;                           // input range 1, 2 or 3
};

// None for codes outside 'Y' to '~'.
std::optional<ThermocoupleInfo> thermocouple(char typeCode);

// ------------------------------------------------------------- input modes

inline constexpr int kInputModeStandard = 0;
inline constexpr int kInputModeTempRh = 1;
inline constexpr int kInputModeAverage = 2;
inline constexpr int kInputModePulse = 4;
inline constexpr int kInputModeExcitation = 5;

// Mode of channel 1-4 in the packed word; 0 for a channel outside 1-4.
int inputModeOf(std::uint16_t word, int channel);

// The word with channel 1-4 set to `mode` (0-7); other channels untouched.
std::uint16_t withInputMode(std::uint16_t word, int channel, int mode);

// Texts of the status form and of the setup form; blank for modes without one.
std::string_view inputModeStatusText(int mode);
std::string_view inputModeSetupItem(int mode);

// The 12-bit word as two six-bit characters (value + 64), low bits first.
std::array<char, 2> encodeInputModes(std::uint16_t word);

// The word from its two wire characters; none when a character lies outside
// 64-127.
std::optional<std::uint16_t> decodeInputModes(char low, char high);

}  // namespace brevik::protocol
