#include "protocol/vocabulary.h"

#include <algorithm>

#include "common/logger_memory.h"

namespace brevik::protocol {

namespace {

constexpr bool atLeast(char revision, char needed) {
  return byteOf(revision) >= byteOf(needed);
}

}  // namespace

// ---------------------------------------------------------------- resolution

std::string_view resolutionText(int resolutionCode) {
  switch (resolutionCode) {
    case kResolution8Bit: return "8 bit";
    case kResolution10Bit: return "10 bit";
    case kResolution12Bit: return "12 bit";
    default: return {};
  }
}

std::optional<int> resolutionCodeFromBits(int bits) {
  switch (bits) {
    case 8: return kResolution8Bit;
    case 10: return kResolution10Bit;
    case 12: return kResolution12Bit;
    default: return std::nullopt;
  }
}

int resolutionCodeFromFlags(bool twelveBit, bool tenBit) {
  if (twelveBit) return kResolution12Bit;
  if (tenBit) return kResolution10Bit;
  return kResolution8Bit;
}

std::optional<ResolutionFacts> resolutionFacts(int resolutionCode, char modelCode) {
  const auto m = memory::loggerMemory(resolutionCode, modelCode);
  if (!m) return std::nullopt;
  return ResolutionFacts{m->bank.fullScale, m->capacity()};
}

// --------------------------------------------------------------------- model

std::string modelName(char modelCode, bool twelveBit, bool tenBit) {
  const int code = resolutionCodeFromFlags(twelveBit, tenBit);
  const std::string_view resolution = resolutionText(code);
  switch (modelCode) {
    case '1':
      return code == kResolution12Bit ? "MT612" : code == kResolution10Bit ? "MT611" : "MT610";
    case '5':
      return "KALDO     " + std::string(resolution);
    case '6':
      return "KALDO-M " + std::string(resolution);
    default: {
      std::string name = code == kResolution12Bit ? "MT54" : code == kResolution10Bit ? "MT53" : "MT52";
      name += modelCode;
      return name;
    }
  }
}

// ------------------------------------------------------------------ revision

char effectiveRevision(char revision) { return isOldFirmware(revision) ? 'A' : revision; }

bool isOldFirmware(char revision) { return byteOf(revision) < byteOf('A'); }

int compareRevisions(char a, char b) {
  const unsigned x = byteOf(effectiveRevision(a));
  const unsigned y = byteOf(effectiveRevision(b));
  return x < y ? -1 : x > y ? 1 : 0;
}

bool revisionSendsModelCode(char revision) { return byteOf(effectiveRevision(revision)) > byteOf('I'); }

bool revisionSendsStationAddress(char revision) {
  return byteOf(effectiveRevision(revision)) > byteOf('N');
}

bool revisionSendsInputModes(char revision) { return atLeast(effectiveRevision(revision), 'Q'); }

bool revisionSupportsRealTime(char revision, bool overModem) {
  return atLeast(effectiveRevision(revision), overModem ? 'p' : 'O');
}

bool revisionShowsBattery(char revision) { return atLeast(effectiveRevision(revision), 'c'); }

char configurationHeaderCommand(char revision) {
  return atLeast(effectiveRevision(revision), 'I') ? '0' : '1';
}

bool revisionSupportsRatesFasterThan2Seconds(char revision) {
  return atLeast(effectiveRevision(revision), 'H');
}

bool revisionSupportsRatesUpTo2Seconds(char revision) {
  return atLeast(effectiveRevision(revision), 'F');
}

bool revisionSupports3Hours(char revision) { return atLeast(effectiveRevision(revision), 'H'); }

bool revisionSupportsLateRates(char revision) { return atLeast(effectiveRevision(revision), 'L'); }

bool revisionSaysChannel1(char revision) { return atLeast(effectiveRevision(revision), 'o'); }

bool referenceResistorIs30100(char revision) { return atLeast(effectiveRevision(revision), 'q'); }

bool referenceResistorMayBe30015(char revision) { return atLeast(effectiveRevision(revision), 'G'); }

bool revisionTakesStationAddress(char revision) { return atLeast(effectiveRevision(revision), 'S'); }

bool revisionSendsReadingsOnRequest(char revision) { return atLeast(effectiveRevision(revision), 'p'); }

bool revisionSupportsLabelsOnly(char revision) { return byteOf(effectiveRevision(revision)) > byteOf('T'); }

bool revisionGivesShortReplies(char letter) { return atLeast(letter, 'A') && !atLeast(letter, 'H'); }

bool revisionSupportsRate(char revision, char rateCode) {
  if (!isRateCode(rateCode)) return false;
  const unsigned c = byteOf(rateCode);
  if (c < byteOf('C') && !revisionSupportsRatesFasterThan2Seconds(revision)) return false;
  if (c <= byteOf('C') && !revisionSupportsRatesUpTo2Seconds(revision)) return false;
  if (rateCode == 'S' && !revisionSupports3Hours(revision)) return false;
  if ((rateCode == 'T' || rateCode == 'U' || rateCode == 'V') && !revisionSupportsLateRates(revision))
    return false;
  return true;
}

// ---------------------------------------------------------------- rate codes

namespace {

constexpr std::array<RateInfo, 28> kRates = {{
    {'4', "200/second", 0.00008333333f},
    {'5', "100/second", 0.00016666666f},
    {'6', " 50/second", 0.00033333333f},
    {'7', " 20/second", 0.00083333335f},
    {'8', " 10/second", 0.0016666667f},
    {'9', "  5/second", 0.0033333334f},
    {':', "  2/second", 0.008333334f},
    {';', "  1/second", 0.016666668f},
    {'C', "~2 seconds", 0.033333335f},
    {'D', "10 seconds", 0.16666667f},
    {'E', "20 seconds", 0.33333334f},
    {'F', "30 seconds", 0.5f},
    {'G', " 1 minute ", 1.0f},
    {'H', " 2 minutes", 2.0f},
    {'I', " 5 minutes", 5.0f},
    {'J', "10 minutes", 10.0f},
    {'K', "20 minutes", 20.0f},
    {'L', "30 minutes", 30.0f},
    {'M', " 1 hour   ", 60.0f},
    {'N', " 2 hours  ", 120.0f},
    {'O', " 4 hours  ", 240.0f},
    {'P', " 6 hours  ", 360.0f},
    {'Q', " 8 hours  ", 480.0f},
    {'R', "12 hours  ", 720.0f},
    {'S', " 3 hours  ", 180.0f},
    {'T', "~4 seconds", 0.06666667f},
    {'U', "15 minutes", 15.0f},
    {'V', "~6 seconds", 0.1f},
}};

constexpr std::array<char, 28> makeRateCodes() {
  std::array<char, 28> codes{};
  for (std::size_t i = 0; i < kRates.size(); ++i) codes[i] = kRates[i].code;
  return codes;
}

constexpr std::array<char, 28> kRateCodes = makeRateCodes();

const RateInfo* findRate(char code) {
  const auto it = std::find_if(kRates.begin(), kRates.end(),
                               [code](const RateInfo& r) { return r.code == code; });
  return it == kRates.end() ? nullptr : &*it;
}

}  // namespace

std::span<const RateInfo> rateTable() { return kRates; }

const std::array<char, 28>& allRateCodes() { return kRateCodes; }

bool isRateCode(char code) { return findRate(code) != nullptr; }

std::optional<std::string_view> rateText(char code) {
  const RateInfo* r = findRate(code);
  if (r == nullptr) return std::nullopt;
  return r->text;
}

float rateInterval(char code) {
  const RateInfo* r = findRate(code);
  return r == nullptr ? 60.0f : r->minutes;
}

bool isFastRate(char code) { return byteOf(code) < byteOf('C'); }

float correctedInterval(float minutes) {
  // Compared in single precision: an interval of exactly 0.04 (as a float)
  // must count as "at least 0.04", which a double comparison would miss.
  if (minutes > 0.02f && minutes < 0.04f) return 0.0383333f;
  if (minutes >= 0.04f && minutes < 0.08f) return 0.0766667f;
  if (minutes >= 0.08f && minutes < 0.12f) return 0.115f;
  return minutes;
}

// ---------------------------------------------------------- channel types

ChannelKind classifyChannelType(char typeCode) {
  switch (typeCode) {
    case '0': return ChannelKind::Off;
    case '1': return ChannelKind::NamedTable;
    case '3': return ChannelKind::Linear;
    case 'X': return ChannelKind::Contact;
    case 'R': return ChannelKind::Resistance;
    case 'L': return ChannelKind::Light;
    case 'A':
    case 'B':
    case 'C': return ChannelKind::Thermistor;
    default: break;
  }
  const unsigned c = byteOf(typeCode);
  if (c < byteOf('Y')) return ChannelKind::OtherResistive;
  if (c <= byteOf('~')) return ChannelKind::Thermocouple;
  return ChannelKind::Unknown;
}

std::optional<std::string> resistiveTableFile(char typeCode) {
  switch (classifyChannelType(typeCode)) {
    case ChannelKind::Light:
    case ChannelKind::Thermistor:
    case ChannelKind::OtherResistive:
      return std::string(1, typeCode) + ".Rvt";
    default:
      return std::nullopt;
  }
}

std::string namedTableFile(std::string_view baseName) { return std::string(baseName) + ".Rvt"; }

// ----------------------------------------------------------- thermocouples

namespace {

struct ThermocoupleType {
  char range1, range2, range3;
  char table;  // table file letter
  std::string_view label;
};

constexpr std::array<ThermocoupleType, 9> kThermocoupleTypes = {{
    {'Y', 'b', 'v', 'b', "B thermocouple"},
    {'Z', 'c', 'w', 'c', "C thermocouple"},
    {'d', 'e', 'x', 'e', "E thermocouple"},
    {'g', 'j', 'y', 'j', "J thermocouple"},
    {'h', 'k', 'z', 'k', "K thermocouple"},
    {'^', 'n', '{', 'n', "N thermocouple"},
    {'_', 'r', 'q', 'r', "R thermocouple"},
    {'`', 's', '}', 's', "S thermocouple"},
    {'a', 't', '~', 't', "T thermocouple"},
}};

struct LowTemperatureCode {
  char code;
  std::string_view label;
};

constexpr std::array<LowTemperatureCode, 5> kLowTemperature = {{
    {'f', "E low temp"},
    {'i', "J low temp"},
    {'l', "K low temp"},
    {'m', "N low temp"},
    {'u', "T low temp"},
}};

std::string tableNamedAfter(char code) { return std::string(1, code) + ".mvt"; }

}  // namespace

std::optional<ThermocoupleInfo> thermocouple(char typeCode) {
  if (classifyChannelType(typeCode) != ChannelKind::Thermocouple) return std::nullopt;
  for (const ThermocoupleType& t : kThermocoupleTypes) {
    const int range = typeCode == t.range1 ? 1 : typeCode == t.range2 ? 2 : typeCode == t.range3 ? 3 : 0;
    if (range != 0) return ThermocoupleInfo{t.label, tableNamedAfter(t.table), range};
  }
  for (const LowTemperatureCode& l : kLowTemperature)
    if (typeCode == l.code) return ThermocoupleInfo{l.label, tableNamedAfter(typeCode), 2};
  return ThermocoupleInfo{std::nullopt, tableNamedAfter(typeCode), 2};
}

// ------------------------------------------------------------- input modes

int inputModeOf(std::uint16_t word, int channel) {
  if (channel < 1 || channel > 4) return kInputModeStandard;
  return (word >> (3 * (channel - 1))) & 7;
}

std::uint16_t withInputMode(std::uint16_t word, int channel, int mode) {
  if (channel < 1 || channel > 4) return word;
  const int shift = 3 * (channel - 1);
  const unsigned cleared = word & ~(7u << shift);
  return static_cast<std::uint16_t>(cleared | (static_cast<unsigned>(mode & 7) << shift));
}

std::string_view inputModeStatusText(int mode) {
  switch (mode) {
    case kInputModeStandard: return "standard";
    case kInputModeTempRh: return "temp/RH";
    case kInputModeAverage: return "moyenne";
    case kInputModePulse: return "pulse";
    case kInputModeExcitation: return "0.1s Exc";
    default: return {};
  }
}

std::string_view inputModeSetupItem(int mode) {
  switch (mode) {
    case kInputModeStandard: return "Standard";
    case kInputModeTempRh: return "Temp/RH";
    case kInputModeAverage: return "Moyenne";
    case kInputModeExcitation: return "0.1s Excit";
    default: return {};
  }
}

std::array<char, 2> encodeInputModes(std::uint16_t word) {
  return {static_cast<char>((word & 0x3F) + 64), static_cast<char>(((word >> 6) & 0x3F) + 64)};
}

std::optional<std::uint16_t> decodeInputModes(char low, char high) {
  const unsigned a = byteOf(low);
  const unsigned b = byteOf(high);
  if (a < 64 || a > 127 || b < 64 || b > 127) return std::nullopt;
  return static_cast<std::uint16_t>((a - 64) | ((b - 64) << 6));
}

}  // namespace brevik::protocol
