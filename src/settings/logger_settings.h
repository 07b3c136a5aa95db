#pragma once
// The Logger Settings: the one persisted settings record of the program,
// stored raw as the whole content of kvlog.ini in the program home.
//
// The record is 1596 bytes, little-endian integers and length-prefixed
// Windows-1252 strings at fixed offsets. The typed fields below carry the
// names every other part of the program uses; `record` keeps the bytes as
// they were read, so reserved bytes and the bytes behind each string's text
// travel through a load and save untouched. toRecord() rewrites only the
// fields whose value differs from what the record holds: a record that was
// loaded and saved unchanged is written back byte for byte.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace brevik::settings {

inline constexpr std::size_t kLoggerSettingsSize = 1596;
inline constexpr std::string_view kSettingsFileName = "kvlog.ini";
// What the record holds of a file name (SetupFileName, DataFileName, ColorFileName).
inline constexpr std::size_t kFileNameCapacity = 255;

// The baud rates a logger link can run at.
inline constexpr std::array<std::uint32_t, 8> kBaudRates = {1200,  2400,  4800,  9600,
                                                            19200, 28800, 38400, 57600};

struct LoggerSettings {
  // Field (record offset): meaning.
  std::uint32_t BaudRate = 19200;          //    0: link speed, one of kBaudRates
  std::uint32_t PortNumber = 1;            //    4: COM1-COM10 (the port takes the low 16 bits)
  std::uint8_t FahrenheitUnits = 1;        //    8: 1 = degrees F shown, 0 = degrees C
  std::uint8_t NetworkMode = 0;            //    9: 1 = a network addressed by StationAddress
  std::uint8_t UseModem = 0;               //   10: 1 = through a dial-up modem
  std::uint8_t TwelveHourClock = 1;        //   11: 1 = am/pm times
  std::uint8_t ViewportCount = 1;          //   12: graph viewports, 1-4
  std::uint8_t Wireless = 0;               //   13: 1 = cellular or radio link
  std::array<std::uint8_t, 4> ViewportLayout = {4, 0, 0, 0};  // 14: channels per viewport
  std::uint8_t StationAddress = 1;         //   18: 0-255
  std::uint8_t GridMode = 3;               //   19: 0 none, 1 Y, 2 X, 3 both
  std::uint8_t SymbolSize = 2;             //   20: 1 small, 2 medium, 3 large
  std::uint8_t ColorMode = 1;              //   21: 1 colour, 2 mono, 3 mono with symbols
  std::uint8_t ThickPlotting = 0;          //   22
  std::uint8_t MarkDataPoints = 1;         //   23
  std::uint8_t GridInFront = 0;            //   24
  //                                           25-27: reserved
  std::uint32_t PhoneIndex = 0;            //   28: phone book entry, 0-based
  char LastRevision = 'n';                 //   32: firmware revision of the last logger seen
  std::uint8_t LastModelCode = 5;          //   33: 1/2/3 = 8/10/12 bit, 5 or 6 = model code
  std::string SetupFileName = "default.set";   //   34: string[255]
  std::string DataFileName = "site1a.qx1";     //  290: string[255]
  std::string ColorFileName = "default.gcf";   //  546: string[255]
  //                                           802: reserved (2 in a fresh record), 803: reserved
  std::uint32_t LocalModemIndex = 0;       //  804
  std::string LocalModemInit;              //  808: string[255]
  std::uint32_t RemoteModemIndex = 0;      // 1064
  std::string RemoteModemInit;             // 1068: string[255]
  std::string PhoneNumber;                 // 1324: string[254]
  std::uint8_t ExportDayFirst = 0;         // 1579: 0 month first, 1 day first
  std::uint8_t HumidityMode = 0;           // 1580: 0 RH, 1 dew point, 2 wet bulb
  //                                          1581: reserved (1 in a fresh record), 1582-1583: reserved
  std::uint32_t AutoFileCounter = 0;       // 1584: 0-999999
  std::uint8_t FastProtocol = 1;           // 1588: 1 = MT7xx protocol
  std::uint8_t ExportNoHeader = 0;         // 1589
  std::uint8_t AutoAnswer = 0;             // 1590
  std::uint8_t AutoExport = 0;             // 1591
  std::uint32_t ExportAveraging = 1;       // 1592

  // The bytes as read from kvlog.ini, or the fresh record of the defaults.
  std::array<std::uint8_t, kLoggerSettingsSize> record{};

  // The defaults, with a fresh record (reserved bytes 802 = 2, 1581 = 1,
  // every other reserved byte 0).
  LoggerSettings();

  // Reads the fields from a record of at least kLoggerSettingsSize bytes;
  // bytes beyond it are ignored. InvalidData when the record is shorter.
  // A field holding a value it may not take (a baud rate that is none, a
  // port beyond COM10) reads as its default.
  static Result<LoggerSettings> fromRecord(std::string_view bytes);

  // The record with every changed field written at its offset.
  std::string toRecord() const;
};

// What kvlog.ini in a home holds, before anything is saved over it.
struct SettingsFileCheck {
  enum class State {
    Missing,  // no file: the defaults, and a save simply creates it
    Read,     // a whole record (some fields may be out of range)
    Damaged,  // there, but empty, short or unreadable: the defaults are used
  };
  State state = State::Missing;
  std::string damage;                      // Damaged: why, e.g. "it holds 12 of 1596 bytes"
  std::vector<std::string> outOfRange;     // Read: the fields that read as their defaults
  LoggerSettings settings;                 // what a load gives

  // Whether a save must keep the file aside first: it was not read as it stands.
  bool keepAside() const { return state == State::Damaged || !outOfRange.empty(); }
};

SettingsFileCheck checkSettingsFile(const std::filesystem::path& homeDir);

// The warning about fields that read as their defaults ("" when none).
std::string outOfRangeWarning(const SettingsFileCheck& check);

// Reads kvlog.ini from the home. A missing, unreadable or short file gives
// the defaults, silently; a longer file is read for its first 1596 bytes.
LoggerSettings loadSettings(const std::filesystem::path& homeDir);

inline constexpr std::string_view kDamagedSettingsName = "kvlog.ini.bad";

// Replaces kvlog.ini in the home through a temporary file and a rename, so a
// failure half-way leaves the previous file as it was. Io on failure.
//
// A kvlog.ini that was not read as it stands (damaged, or with fields out of
// range) is never written over: it is first renamed to kvlog.ini.bad (an
// older kvlog.ini.bad moves on to the first free kvlog.ini.bad.N), the move
// is written to the unattended log and handed to `notice`. When the move
// fails nothing is saved.
Status saveSettings(const std::filesystem::path& homeDir, const LoggerSettings& settings,
                    const std::function<void(const std::string&)>& notice = {});

// ---- Fields by name (kaldo settings) --------------------------------------

enum class SettingKind {
  Number,   // an unsigned integer (u8 or u32 in the record)
  Flag,     // a u8 that is 0 or 1
  Char,     // one character
  Text,     // a length-prefixed string of a capacity
  Layout,   // four u8 numbers
};

struct SettingField {
  std::string_view name;
  std::size_t offset = 0;
  std::size_t width = 0;  // bytes in the record (a string's capacity + 1)
  SettingKind kind = SettingKind::Number;
  std::string allowed;    // what values are accepted, for messages and help
};

// Every field in record order.
const std::vector<SettingField>& settingFields();

// The field of a name (compared without regard to case), or null.
const SettingField* findSettingField(std::string_view name);

// The field's value as text (Windows-1252): numbers in decimal, a character
// as itself, strings as they stand, ViewportLayout as "4 0 0 0".
std::string settingText(const LoggerSettings& settings, const SettingField& field);

// Sets a field from text (Windows-1252). Usage error, naming the field and
// what it allows, for an unknown name or a value out of range; the settings
// are unchanged then.
Status setSettingFromText(LoggerSettings& settings, std::string_view name, std::string_view text);

}  // namespace brevik::settings
