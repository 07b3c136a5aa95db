#include "protocol/status_decode.h"

#include <cstdio>

#include "protocol/date_code.h"
#include "protocol/status_texts.h"
#include "protocol/time_stamps.h"
#include "protocol/unit_texts.h"
#include "protocol/vocabulary.h"

namespace brevik::protocol {

namespace {

// Field positions of the reply, counted from 1, and their widths.
constexpr std::size_t kFirstReadingPos = 1;
constexpr std::size_t kStopTimePos = 15;
constexpr std::size_t kStateBlockPos = 29;
constexpr std::size_t kDescriptionPos = 43;
constexpr std::size_t kDescriptionWidth = 24;
constexpr std::size_t kSessionPos = 139;
constexpr std::size_t kSessionWidth = 31;
constexpr std::size_t kReadingsPos = 170;
constexpr std::size_t kClockPos = 182;
constexpr std::size_t kAddressPos = 196;
constexpr std::size_t kRecordPos = 198;
constexpr std::size_t kRecordWidth = 12;
constexpr std::size_t kTypeCodesPos = 246;
constexpr std::size_t kRevisionPos = 250;
constexpr std::size_t kModelCodePos = 251;
constexpr std::size_t kBatteryPos = 252;
constexpr std::size_t kTextFieldsEnd = 138;

constexpr std::string_view kDefaultClockText = "Tue 24-Jun-2003 10:01";
constexpr std::string_view kDefaultStopText = "Tue 17-Jun-2003 10:01";
constexpr std::string_view kDefaultFirstText = "Tue 10-Jun-2003 10:01";

std::string field(const std::string& text, std::size_t position, std::size_t width) {
  return text.substr(position - 1, width);
}

int pairAt(const std::string& text, std::size_t position) {
  return hexPair(std::string_view(text).substr(position - 1, 2)).value_or(0);
}

struct DatedText {
  DateTime time;
  std::string text;
};

DatedText datedText(std::string_view code, std::string_view defaultText, bool twelveHourClock) {
  if (const auto t = parseDateCode(code)) return {*t, formatDisplayStamp(*t, twelveHourClock)};
  return {parseDisplayStamp(defaultText).value_or(DateTime{}), std::string(defaultText)};
}

std::string blankRecord(char first) { return std::string(1, first) + std::string(kRecordWidth - 1, ' '); }

}  // namespace

bool isAcceptableStatusReply(std::string_view reply) {
  if (reply.size() < kMinStatusReplyLength) return false;
  const char fifth = reply[4];
  return fifth == '0' || fifth == '1' || fifth == '2';
}

std::string invalidResponseText(std::string_view reply, std::string_view lastCommand) {
  char length[32];
  std::snprintf(length, sizeof length, "%2zu", reply.size());
  std::string text = "Invalid response from logger; Length = ";
  text += length;
  text += '\r';
  text += reply;
  text += ' ';
  text += lastCommand;
  return text;
}

DecodedReadings decodeReadingsField(std::string_view field12, const LoggerStatus& status, bool strict, bool& ok) {
  DecodedReadings d;
  ok = true;
  PackedReadings packed;
  if (strict) {
    const auto p = unpackReadings(field12, status.resolution);
    if (!p) {
      ok = false;
      return d;
    }
    packed = *p;
  } else {
    packed = unpackReadingsLenient(field12, status.resolution);
  }
  d.raw = packed.raw;
  d.batteryReading = status.twelveBit ? status.batteryReading : packed.battery;
  d.referenceOhms = referenceResistor(status.resolution, status.revision, d.batteryReading);
  return d;
}

void convertReadings(LoggerStatus& s, UnitConverter& converter) {
  converter.setReferenceResistor(s.referenceOhms);
  for (int c = 1; c <= kChannelCount; ++c) {
    const std::size_t i = static_cast<std::size_t>(c - 1);
    const float value = converter.convert(s.raw[i], c);
    s.values[i] = converter.toDisplayUnits(value, c);
    s.scaled[i] = converter.table(c).scaled;
    s.humidity[i] = converter.humidityMark(c);
  }
}

StatusDecodeResult decodeStatusReply(std::string_view reply, const StatusSettings& settings, const Clock& clock,
                                     const TableReader& tables) {
  StatusDecodeResult result;
  LoggerStatus& s = result.status;
  s.reply = std::string(reply);
  if (!isAcceptableStatusReply(reply)) {
    result.outcome = StatusOutcome::Rejected;
    return result;
  }

  std::string text(reply);
  for (std::size_t i = kDescriptionPos - 1; i < kTextFieldsEnd; ++i)
    if (text[i] == '\0') text[i] = ' ';

  s.firstReadingCode = field(text, kFirstReadingPos, kDateCodeLength);
  s.stopTimeCode = field(text, kStopTimePos, kDateCodeLength);
  s.flags = static_cast<std::uint8_t>(pairAt(text, kStateBlockPos));
  s.rateCode = static_cast<char>(pairAt(text, kStateBlockPos + 2));
  s.channelBits = static_cast<std::uint8_t>(pairAt(text, kStateBlockPos + 4));
  s.phase = static_cast<std::uint8_t>(pairAt(text, kStateBlockPos + 8));
  s.memoryPointer =
      static_cast<std::uint16_t>(pairAt(text, kStateBlockPos + 10) * 256 + pairAt(text, kStateBlockPos + 12));
  for (std::size_t c = 0; c < kChannelCount; ++c) {
    s.descriptions[c] = field(text, kDescriptionPos + c * kDescriptionWidth, kDescriptionWidth);
    s.channelRecords[c] = field(text, kRecordPos + c * kRecordWidth, kRecordWidth);
    s.typeCodes[c] = text[kTypeCodesPos - 1 + c];
  }
  s.session = field(text, kSessionPos, kSessionWidth);
  s.readingsField = field(text, kReadingsPos, kReadingsFieldLength);
  s.clockCode = field(text, kClockPos, kDateCodeLength);
  s.stationAddress = pairAt(text, kAddressPos);
  s.replyRevision = text[kRevisionPos - 1];
  s.revision = s.replyRevision;
  s.modelCode = text.size() >= kModelCodePos && revisionSendsModelCode(s.replyRevision) ? text[kModelCodePos - 1]
                                                                                         : kModelCodeUnknown;
  s.inputModes = revisionSendsInputModes(s.replyRevision)
                     ? decodeInputModes(text[kStateBlockPos + 5], text[kStateBlockPos + 6]).value_or(0)
                     : std::uint16_t{0};

  // Resolution: the reply length of a 12-bit logger wins over the flag.
  s.twelveBit = text.size() >= kTwelveBitReplyLength;
  s.tenBit = !s.twelveBit && (s.flags & kFlagTenBit);
  s.resolution = s.twelveBit ? Resolution::Bits12 : s.tenBit ? Resolution::Bits10 : Resolution::Bits8;
  s.resolutionCode = resolutionCodeFromFlags(s.twelveBit, s.tenBit);
  if (const auto facts = resolutionFacts(s.resolutionCode, s.modelCode)) {
    s.fullScale = facts->fullScale;
    s.memorySize = facts->memoryReadings;
  }
  result.newLastModelCode = s.resolutionCode;
  s.intervalMinutes = rateInterval(s.rateCode);
  if (byteOf(s.modelCode) > byteOf('4')) s.intervalMinutes = correctedInterval(s.intervalMinutes);
  s.activeChannels = 0;
  for (int c = 1; c <= kChannelCount; ++c) s.activeChannels += s.channelOn(c) ? 1 : 0;

  if (s.twelveBit) s.batteryReading = static_cast<unsigned char>(text[kBatteryPos - 1]);
  bool readingsOk = true;
  const DecodedReadings readings = decodeReadingsField(s.readingsField, s, false, readingsOk);
  s.raw = readings.raw;
  s.batteryReading = readings.batteryReading;
  s.referenceOhms = readings.referenceOhms;
  s.batteryVolts = static_cast<float>(s.batteryReading) * 0.10873f + 0.2f;

  // Special cases, in their order.
  const char bank = s.clockCode[10];
  s.bankLetter = byteOf(bank) > 64 ? bank : 'A';
  if (s.replyRevision != settings.lastRevision) result.newLastRevision = s.replyRevision;
  if (s.clockCode.substr(12, 2) == "91")
    for (auto& record : s.channelRecords) record = blankRecord('C');
  if (isOldFirmware(s.replyRevision)) {
    s.revision = effectiveRevision(s.replyRevision);
    s.oldFirmware = true;
    for (std::size_t c = 0; c < kChannelCount; ++c) {
      s.channelRecords[c] = blankRecord(s.typeCodes[c]);
      if (byteOf(s.typeCodes[c]) < byteOf('A') && s.typeCodes[c] != '0') s.typeCodes[c] = '1';
    }
  }
  if (!revisionSendsStationAddress(s.revision)) s.stationAddress = 0;

  // Dates are known before the tables: a decode that stops there still shows them.
  const DatedText first = datedText(s.firstReadingCode, kDefaultFirstText, settings.twelveHourClock);
  const DatedText stop = datedText(s.stopTimeCode, kDefaultStopText, settings.twelveHourClock);
  const DatedText clockNow = datedText(s.clockCode, kDefaultClockText, settings.twelveHourClock);
  s.firstReading = first.time;
  s.firstReadingText = first.text;
  s.stopTime = stop.time;
  s.stopTimeText = stop.text;
  s.clock = clockNow.time;
  s.clockText = clockNow.text;
  if (s.isRing() && s.hasWrapped() && s.activeChannels > 0) {
    const double span = static_cast<double>(s.memorySize) / s.activeChannels * s.intervalMinutes;
    s.firstReading = subtractMinutes(s.stopTime, span);
    s.firstReadingText = formatDisplayStamp(s.firstReading, settings.twelveHourClock);
  }
  // The logger flags a low battery in the tens digit of the clock's seconds.
  s.batteryLow = s.clockCode[0] > '7';
  const DateTime pcNow = clock.now();
  s.pcTimeText = clock.shortDate(pcNow) + " " + clock.longTime(pcNow);

  UnitConverter& converter = result.converter;
  converter.setSettings(UnitSettings{settings.fahrenheit, settings.humidityMode});
  converter.setTypeCodes(s.typeCodes);
  converter.setInputModes(s.inputModes);
  converter.setFullScale(s.fullScale);
  converter.setReferenceResistor(s.referenceOhms);
  auto loaded = loadChannelTables(s.typeCodes, s.channelRecords, s.fullScale, tables);
  if (!loaded) {
    result.tableError = loaded.error();
    result.outcome = StatusOutcome::TableFailed;
    return result;
  }
  converter.setTables(*loaded);
  convertReadings(s, converter);

  for (std::size_t c = 0; c < kChannelCount; ++c)
    s.unitTexts[c] = statusUnitText(channelUnitText(s.descriptions[c], s.typeCodes[c],
                                                    inputModeOf(s.inputModes, static_cast<int>(c) + 1),
                                                    settings.fahrenheit, settings.humidityMode));
  result.outcome = StatusOutcome::Accepted;
  return result;
}

void decodeStatusBytesForFuzzing(const std::uint8_t* data, std::size_t size) {
  const std::string_view reply(reinterpret_cast<const char*>(data), data ? size : 0);
  const FixedClock clock(DateTime{2003, 6, 24, 10, 1, 0, 0, 2});
  const TableReader tables = [](char, std::string_view record, int) -> Result<TableFileRows> {
    if (!record.empty() && record[0] == '!') return makeError(ErrorKind::InvalidData, "no table");
    return TableFileRows{"fuzz.Rvt", record.empty() ? ' ' : record[0], {{100.0f, 1000.0f}, {0.0f, 30000.0f}, {-40.0f, 900000.0f}}};
  };
  for (const bool flag : {false, true}) {
    StatusSettings settings;
    settings.fahrenheit = flag;
    settings.twelveHourClock = flag;
    settings.humidityMode = flag ? HumidityMode::WetBulb : HumidityMode::DewPoint;
    StatusDecodeResult r = decodeStatusReply(reply, settings, clock, tables);
    if (r.outcome != StatusOutcome::Rejected) {
      const StatusForm form = buildStatusForm(r.status, StatusTextSettings{settings.twelveHourClock});
      (void)form;
    } else {
      (void)invalidResponseText(reply, "");
    }
  }
}

}  // namespace brevik::protocol
