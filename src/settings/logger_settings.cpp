#include "settings/logger_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <optional>
#include <variant>

#include "common/bytes.h"
#include "common/clock.h"
#include "common/cp1252.h"
#include "common/files.h"
#include "settings/unattended_log.h"

namespace brevik::settings {

namespace {

using U8Member = std::uint8_t LoggerSettings::*;
using U32Member = std::uint32_t LoggerSettings::*;
using CharMember = char LoggerSettings::*;
using TextMember = std::string LoggerSettings::*;
using LayoutMember = std::array<std::uint8_t, 4> LoggerSettings::*;
using Member = std::variant<U8Member, U32Member, CharMember, TextMember, LayoutMember>;

// One field of the record: where it lives, which member holds it and what a
// user may set it to. The one table drives load, save and the named access.
struct FieldDef {
  std::string_view name;
  std::size_t offset;
  Member member;
  SettingKind kind;
  std::uint32_t min = 0;
  std::uint32_t max = 0;
  std::vector<std::uint32_t> choices{};  // when not empty, the only values allowed
  std::size_t capacity = 0;              // Text: characters after the length byte
};

constexpr std::uint32_t kMaxListIndex = 9999;

const std::vector<FieldDef>& fieldDefs() {
  using S = LoggerSettings;
  using K = SettingKind;
  static const std::vector<FieldDef> defs = {
      {"BaudRate", 0, &S::BaudRate, K::Number, 0, 0, {kBaudRates.begin(), kBaudRates.end()}},
      {"PortNumber", 4, &S::PortNumber, K::Number, 1, 10},
      {"FahrenheitUnits", 8, &S::FahrenheitUnits, K::Flag, 0, 1},
      {"NetworkMode", 9, &S::NetworkMode, K::Flag, 0, 1},
      {"UseModem", 10, &S::UseModem, K::Flag, 0, 1},
      {"TwelveHourClock", 11, &S::TwelveHourClock, K::Flag, 0, 1},
      {"ViewportCount", 12, &S::ViewportCount, K::Number, 1, 4},
      {"Wireless", 13, &S::Wireless, K::Flag, 0, 1},
      {"ViewportLayout", 14, &S::ViewportLayout, K::Layout, 0, 4},
      {"StationAddress", 18, &S::StationAddress, K::Number, 0, 255},
      {"GridMode", 19, &S::GridMode, K::Number, 0, 3},
      {"SymbolSize", 20, &S::SymbolSize, K::Number, 1, 3},
      {"ColorMode", 21, &S::ColorMode, K::Number, 1, 3},
      {"ThickPlotting", 22, &S::ThickPlotting, K::Flag, 0, 1},
      {"MarkDataPoints", 23, &S::MarkDataPoints, K::Flag, 0, 1},
      {"GridInFront", 24, &S::GridInFront, K::Flag, 0, 1},
      {"PhoneIndex", 28, &S::PhoneIndex, K::Number, 0, kMaxListIndex},
      {"LastRevision", 32, &S::LastRevision, K::Char},
      {"LastModelCode", 33, &S::LastModelCode, K::Number, 0, 0, {1, 2, 3, 5, 6}},
      {"SetupFileName", 34, &S::SetupFileName, K::Text, 0, 0, {}, 255},
      {"DataFileName", 290, &S::DataFileName, K::Text, 0, 0, {}, 255},
      {"ColorFileName", 546, &S::ColorFileName, K::Text, 0, 0, {}, 255},
      {"LocalModemIndex", 804, &S::LocalModemIndex, K::Number, 0, kMaxListIndex},
      {"LocalModemInit", 808, &S::LocalModemInit, K::Text, 0, 0, {}, 255},
      {"RemoteModemIndex", 1064, &S::RemoteModemIndex, K::Number, 0, kMaxListIndex},
      {"RemoteModemInit", 1068, &S::RemoteModemInit, K::Text, 0, 0, {}, 255},
      {"PhoneNumber", 1324, &S::PhoneNumber, K::Text, 0, 0, {}, 254},
      {"ExportDayFirst", 1579, &S::ExportDayFirst, K::Flag, 0, 1},
      {"HumidityMode", 1580, &S::HumidityMode, K::Number, 0, 2},
      {"AutoFileCounter", 1584, &S::AutoFileCounter, K::Number, 0, 999999},
      {"FastProtocol", 1588, &S::FastProtocol, K::Flag, 0, 1},
      {"ExportNoHeader", 1589, &S::ExportNoHeader, K::Flag, 0, 1},
      {"AutoAnswer", 1590, &S::AutoAnswer, K::Flag, 0, 1},
      {"AutoExport", 1591, &S::AutoExport, K::Flag, 0, 1},
      {"ExportAveraging", 1592, &S::ExportAveraging, K::Number, 0, 9999},
  };
  return defs;
}

template <class... Fs>
struct Overloaded : Fs... {
  using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

std::size_t widthOf(const FieldDef& d) {
  return std::visit(Overloaded{[](U8Member) -> std::size_t { return 1; },
                               [](U32Member) -> std::size_t { return 4; },
                               [](CharMember) -> std::size_t { return 1; },
                               [&](TextMember) { return d.capacity + 1; },
                               [](LayoutMember) -> std::size_t { return 4; }},
                    d.member);
}

// Copies the field from the record into the settings.
void decode(const FieldDef& d, const std::uint8_t* rec, LoggerSettings& s) {
  std::visit(Overloaded{[&](U8Member m) { s.*m = bytes::u8(rec, d.offset); },
                        [&](U32Member m) { s.*m = bytes::u32(rec, d.offset); },
                        [&](CharMember m) { s.*m = static_cast<char>(rec[d.offset]); },
                        [&](TextMember m) { s.*m = bytes::pstring(rec, d.offset, d.capacity); },
                        [&](LayoutMember m) {
                          for (std::size_t i = 0; i < 4; ++i) (s.*m)[i] = rec[d.offset + i];
                        }},
             d.member);
}

// Writes the field of the settings into the record.
void encode(const FieldDef& d, const LoggerSettings& s, std::uint8_t* rec) {
  std::visit(Overloaded{[&](U8Member m) { bytes::putU8(rec, d.offset, s.*m); },
                        [&](U32Member m) { bytes::putU32(rec, d.offset, s.*m); },
                        [&](CharMember m) { rec[d.offset] = static_cast<std::uint8_t>(s.*m); },
                        [&](TextMember m) { bytes::putPstring(rec, d.offset, d.capacity, s.*m); },
                        [&](LayoutMember m) {
                          for (std::size_t i = 0; i < 4; ++i) rec[d.offset + i] = (s.*m)[i];
                        }},
             d.member);
}

// Whether the record already holds the field's value (then it is left alone,
// down to a string's length byte and the bytes behind its text).
bool recordHolds(const FieldDef& d, const LoggerSettings& s, const std::uint8_t* rec) {
  return std::visit(
      Overloaded{[&](U8Member m) { return bytes::u8(rec, d.offset) == s.*m; },
                 [&](U32Member m) { return bytes::u32(rec, d.offset) == s.*m; },
                 [&](CharMember m) { return static_cast<char>(rec[d.offset]) == s.*m; },
                 [&](TextMember m) {
                   const std::string& v = s.*m;
                   return bytes::pstring(rec, d.offset, d.capacity) ==
                          std::string_view(v).substr(0, std::min(v.size(), d.capacity));
                 },
                 [&](LayoutMember m) { return std::equal((s.*m).begin(), (s.*m).end(), rec + d.offset); }},
      d.member);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string allowedText(const FieldDef& d) {
  switch (d.kind) {
    case SettingKind::Flag:
      return "0 or 1";
    case SettingKind::Char:
      return "one character (not a blank)";
    case SettingKind::Text:
      return "text of at most " + std::to_string(d.capacity) + " characters";
    case SettingKind::Layout:
      return "four numbers from " + std::to_string(d.min) + " to " + std::to_string(d.max) +
             " separated by blanks, e.g. 4 0 0 0";
    case SettingKind::Number:
      break;
  }
  if (!d.choices.empty()) {
    std::string s = "one of ";
    for (std::size_t i = 0; i < d.choices.size(); ++i)
      s += (i ? ", " : "") + std::to_string(d.choices[i]);
    return s;
  }
  return "a number from " + std::to_string(d.min) + " to " + std::to_string(d.max);
}

// A plain decimal number: digits only, no sign, no blanks, within 32 bits.
std::optional<std::uint32_t> parseNumber(std::string_view text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint32_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return v;
}

bool allows(const FieldDef& d, std::uint32_t v) {
  if (!d.choices.empty()) return std::find(d.choices.begin(), d.choices.end(), v) != d.choices.end();
  return v >= d.min && v <= d.max;
}

Error refused(const FieldDef& d, std::string_view text) {
  return makeError(ErrorKind::Usage, std::string(d.name) + ": '" + std::string(text) +
                                         "' is not allowed; expected " + allowedText(d));
}

std::vector<std::string_view> splitBlanks(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == ',' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != ',' && text[i] != '\t') ++i;
    if (i > start) parts.push_back(text.substr(start, i - start));
  }
  return parts;
}

const FieldDef* findDef(std::string_view name) {
  for (const FieldDef& d : fieldDefs())
    if (equalsIgnoringCase(d.name, name)) return &d;
  return nullptr;
}

// Whether the field holds a value it may take; text always may.
bool holdsAllowedValue(const FieldDef& d, const LoggerSettings& s) {
  return std::visit(Overloaded{[&](U8Member m) { return allows(d, s.*m); },
                               [&](U32Member m) { return allows(d, s.*m); },
                               [&](CharMember m) { return static_cast<unsigned char>(s.*m) > ' '; },
                               [](TextMember) { return true; },
                               [&](LayoutMember m) {
                                 return std::all_of((s.*m).begin(), (s.*m).end(),
                                                    [&](std::uint8_t v) { return allows(d, v); });
                               }},
                    d.member);
}

// Puts every field that holds a value it may not take back to its default;
// returns their names.
std::vector<std::string> resetOutOfRange(LoggerSettings& s) {
  static const LoggerSettings defaults;
  std::vector<std::string> reset;
  for (const FieldDef& d : fieldDefs()) {
    if (holdsAllowedValue(d, s)) continue;
    std::visit([&](auto m) { s.*m = defaults.*m; }, d.member);
    reset.emplace_back(d.name);
  }
  return reset;
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
  return text;
}

LoggerSettings decodeRecord(std::string_view bytes) {
  LoggerSettings s;
  std::memcpy(s.record.data(), bytes.data(), kLoggerSettingsSize);
  for (const FieldDef& d : fieldDefs()) decode(d, s.record.data(), s);
  return s;
}

// kvlog.ini.bad, or the older one's first free kvlog.ini.bad.N.
Result<std::filesystem::path> moveDamagedAside(const std::filesystem::path& homeDir) {
  namespace fs = std::filesystem;
  const fs::path file = homeDir / kSettingsFileName;
  const fs::path aside = homeDir / kDamagedSettingsName;
  std::error_code ec;
  if (fs::exists(aside, ec) || fs::is_symlink(aside, ec)) {
    fs::path older;
    for (unsigned n = 1;; ++n) {
      older = aside;
      older += "." + std::to_string(n);
      if (!fs::exists(older, ec) && !fs::is_symlink(older, ec)) break;
    }
    fs::rename(aside, older, ec);
    if (ec)
      return makeError(ErrorKind::Io, "Cannot move " + aside.string() + " to " + older.string() + ": " +
                                          ec.message() + "; " + file.string() + " was not replaced");
  }
  fs::rename(file, aside, ec);
  if (ec)
    return makeError(ErrorKind::Io, "Cannot move the damaged " + file.string() + " aside: " + ec.message() +
                                        "; it was not replaced");
  return aside;
}

}  // namespace

LoggerSettings::LoggerSettings() {
  for (const FieldDef& d : fieldDefs()) encode(d, *this, record.data());
  record[802] = 2;
  record[1581] = 1;
}

Result<LoggerSettings> LoggerSettings::fromRecord(std::string_view bytes) {
  if (bytes.size() < kLoggerSettingsSize)
    return makeError(ErrorKind::InvalidData, "The settings record is shorter than " +
                                                 std::to_string(kLoggerSettingsSize) + " bytes");
  LoggerSettings s = decodeRecord(bytes);
  (void)resetOutOfRange(s);
  return s;
}

std::string LoggerSettings::toRecord() const {
  std::array<std::uint8_t, kLoggerSettingsSize> out = record;
  for (const FieldDef& d : fieldDefs())
    if (!recordHolds(d, *this, out.data())) encode(d, *this, out.data());
  return std::string(reinterpret_cast<const char*>(out.data()), out.size());
}

SettingsFileCheck checkSettingsFile(const std::filesystem::path& homeDir) {
  SettingsFileCheck check;
  auto bytes = files::readPrefix(homeDir / kSettingsFileName, kLoggerSettingsSize);
  if (!bytes) {
    if (bytes.error().kind == ErrorKind::NotFound) return check;
    check.state = SettingsFileCheck::State::Damaged;
    check.damage = fromUtf8(bytes.error().message);
    return check;
  }
  if (bytes->size() < kLoggerSettingsSize) {
    check.state = SettingsFileCheck::State::Damaged;
    check.damage = bytes->empty() ? std::string("it is empty")
                                  : "it holds " + std::to_string(bytes->size()) + " of " +
                                        std::to_string(kLoggerSettingsSize) + " bytes";
    return check;
  }
  check.state = SettingsFileCheck::State::Read;
  check.settings = decodeRecord(*bytes);
  check.outOfRange = resetOutOfRange(check.settings);
  return check;
}

std::string outOfRangeWarning(const SettingsFileCheck& check) {
  if (check.outOfRange.empty()) return {};
  return std::string(kSettingsFileName) + ": " + joined(check.outOfRange) + (check.outOfRange.size() > 1 ? " hold" : " holds") +
         " a value out of range and " + (check.outOfRange.size() > 1 ? "read as their defaults" : "reads as its default");
}

LoggerSettings loadSettings(const std::filesystem::path& homeDir) { return checkSettingsFile(homeDir).settings; }

Status saveSettings(const std::filesystem::path& homeDir, const LoggerSettings& settings,
                    const std::function<void(const std::string&)>& notice) {
  const SettingsFileCheck check = checkSettingsFile(homeDir);
  std::error_code ec;
  // A folder in kvlog.ini's place is not the user's settings: it stays, and the save fails.
  if (check.keepAside() && !std::filesystem::is_directory(homeDir / kSettingsFileName, ec)) {
    auto aside = moveDamagedAside(homeDir);
    if (!aside) return aside.error();
    const std::string why = check.state == SettingsFileCheck::State::Damaged
                                ? "it could not be read (" + check.damage + ")"
                                : "fields were out of range (" + joined(check.outOfRange) + ")";
    const std::string text = std::string(kSettingsFileName) + " was kept as " + aside->filename().string() +
                             " before saving the settings: " + why;
    const SystemClock clock;
    UnattendedLog(homeDir, clock).entry(text);
    if (notice) notice(text);
  }
  return files::writeFileAtomically(homeDir / kSettingsFileName, settings.toRecord());
}

const std::vector<SettingField>& settingFields() {
  static const std::vector<SettingField> fields = [] {
    std::vector<SettingField> v;
    for (const FieldDef& d : fieldDefs()) v.push_back({d.name, d.offset, widthOf(d), d.kind, allowedText(d)});
    return v;
  }();
  return fields;
}

const SettingField* findSettingField(std::string_view name) {
  for (const SettingField& f : settingFields())
    if (equalsIgnoringCase(f.name, name)) return &f;
  return nullptr;
}

std::string settingText(const LoggerSettings& s, const SettingField& field) {
  const FieldDef* d = findDef(field.name);
  if (!d) return {};
  return std::visit(Overloaded{[&](U8Member m) { return std::to_string(s.*m); },
                               [&](U32Member m) { return std::to_string(s.*m); },
                               [&](CharMember m) { return std::string(1, s.*m); },
                               [&](TextMember m) { return s.*m; },
                               [&](LayoutMember m) {
                                 std::string t;
                                 for (std::size_t i = 0; i < 4; ++i)
                                   t += (i ? " " : "") + std::to_string((s.*m)[i]);
                                 return t;
                               }},
                    d->member);
}

Status setSettingFromText(LoggerSettings& s, std::string_view name, std::string_view text) {
  const FieldDef* d = findDef(name);
  if (!d) return makeError(ErrorKind::Usage, "Unknown setting '" + std::string(name) + "'");
  switch (d->kind) {
    case SettingKind::Number:
    case SettingKind::Flag: {
      const auto v = parseNumber(text);
      if (!v || !allows(*d, *v)) return refused(*d, text);
      if (auto m = std::get_if<U8Member>(&d->member)) s.**m = static_cast<std::uint8_t>(*v);
      else if (auto m32 = std::get_if<U32Member>(&d->member)) s.**m32 = *v;
      return {};
    }
    case SettingKind::Char: {
      if (text.size() != 1 || static_cast<unsigned char>(text[0]) <= ' ') return refused(*d, text);
      s.*std::get<CharMember>(d->member) = text[0];
      return {};
    }
    case SettingKind::Text: {
      if (text.size() > d->capacity)
        return makeError(ErrorKind::Usage, std::string(d->name) + ": the text has " +
                                               std::to_string(text.size()) + " characters; expected " +
                                               allowedText(*d));
      s.*std::get<TextMember>(d->member) = std::string(text);
      return {};
    }
    case SettingKind::Layout: {
      const auto parts = splitBlanks(text);
      if (parts.size() != 4) return refused(*d, text);
      std::array<std::uint8_t, 4> layout{};
      for (std::size_t i = 0; i < 4; ++i) {
        const auto v = parseNumber(parts[i]);
        if (!v || !allows(*d, *v)) return refused(*d, text);
        layout[i] = static_cast<std::uint8_t>(*v);
      }
      s.*std::get<LayoutMember>(d->member) = layout;
      return {};
    }
  }
  return refused(*d, text);
}

}  // namespace brevik::settings
