#pragma once
// The Logger Status: everything decoded from the last status reply, as plain
// values and texts. The status form, the download, the real-time display and
// the setup form read it; it lives until the next status reply.

#include <array>
#include <cstdint>
#include <string>

#include "common/clock.h"
#include "common/logger_memory.h"
#include "protocol/channel_table.h"
#include "protocol/readings.h"

namespace brevik::protocol {

// Bits of the status flags (pair 1 of the logger state block).
inline constexpr std::uint8_t kFlagRing = 0x01;            // memory runs as a continuous ring
inline constexpr std::uint8_t kFlagStopped = 0x02;         // recording stopped
inline constexpr std::uint8_t kFlagWaitingPreset = 0x04;   // waiting for the preset start time
inline constexpr std::uint8_t kFlagWrapped = 0x08;         // the ring has wrapped
inline constexpr std::uint8_t kFlagWaitingTrigger = 0x10;  // waiting for the start trigger
inline constexpr std::uint8_t kFlagTenBit = 0x80;          // 10-bit resolution (not on 12-bit loggers)

// Bit of the channel bits byte besides channels 1-4.
inline constexpr std::uint8_t kChannelBitStopOnOpen = 0x20;  // stop when channel 1 opens

inline constexpr std::uint16_t kEmptyMemoryPointer = static_cast<std::uint16_t>(memory::kFirstDataAddress);

struct LoggerStatus {
  std::string reply;  // the reply as received

  // Raw fields (texts with NULs already turned into blanks).
  std::string firstReadingCode;
  std::string stopTimeCode;
  std::string clockCode;
  std::uint8_t flags = 0;
  char rateCode = 'M';
  std::uint8_t channelBits = 0;
  std::uint16_t inputModes = 0;  // all Standard below revision 'Q'
  std::uint8_t phase = 0;
  std::uint16_t memoryPointer = kEmptyMemoryPointer;
  std::array<std::string, kChannelCount> descriptions;  // 24 characters each
  std::string session;                                  // 31 characters
  std::string readingsField;                            // 12 characters
  int stationAddress = 0;
  std::array<std::string, kChannelCount> channelRecords;  // 12 characters each
  std::array<char, kChannelCount> typeCodes{'0', '0', '0', '0'};
  char revision = 'A';       // 'A' for old firmware
  char replyRevision = 'A';  // the character the logger sent
  char modelCode = '0';
  bool oldFirmware = false;
  char bankLetter = 'A';

  // Derived facts.
  bool twelveBit = false;
  bool tenBit = false;
  Resolution resolution = Resolution::Bits8;
  int resolutionCode = 1;  // 1, 2, 3 as LastModelCode stores it
  int fullScale = memory::kEightBit.fullScale;
  std::int32_t memorySize = memory::kEightBit.bankReadings;
  float intervalMinutes = 60.0f;
  int activeChannels = 0;

  // Readings and their values.
  std::array<std::uint16_t, kChannelCount> raw{};
  int batteryReading = 0;
  float referenceOhms = 10000.0f;
  float batteryVolts = 0.0f;
  std::array<float, kChannelCount> values{};  // after the Fahrenheit rule
  std::array<bool, kChannelCount> scaled{};
  std::array<bool, kChannelCount> humidity{};
  std::array<std::string, kChannelCount> unitTexts;  // leading blank, six characters at most

  // Dates (the texts use the default texts for invalid codes).
  DateTime firstReading;
  DateTime stopTime;
  DateTime clock;
  std::string firstReadingText;
  std::string stopTimeText;
  std::string clockText;
  std::string pcTimeText;
  bool batteryLow = false;

  bool isRing() const { return flags & kFlagRing; }
  bool isStopped() const { return flags & kFlagStopped; }
  bool isWaitingPreset() const { return flags & kFlagWaitingPreset; }
  bool hasWrapped() const { return flags & kFlagWrapped; }
  bool isWaitingTrigger() const { return flags & kFlagWaitingTrigger; }
  bool stopsOnChannel1Open() const { return channelBits & kChannelBitStopOnOpen; }
  bool channelOn(int channel) const {
    return channel >= 1 && channel <= kChannelCount && (channelBits >> (channel - 1)) & 1;
  }
};

}  // namespace brevik::protocol
