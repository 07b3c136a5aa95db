#include "setup/setup_fields.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

#include "common/bytes.h"
#include "protocol/vocabulary.h"
#include "setup/scale_entry.h"
#include "protocol/scale_tables.h"
#include "setup/setup_items.h"

namespace brevik::setup {

namespace {

std::string lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
  return out;
}

std::optional<long> parseInteger(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

Error refused(std::string_view name, std::string_view accepts) {
  return makeError(ErrorKind::Usage, std::string(name) + ": " + std::string(accepts));
}

std::string twoDigits(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02u", v % 100);
  return buf;
}

// A field name, split into its base and channel number (0 for none).
struct FieldName {
  std::string base;  // lower case
  int channel = 0;
};

FieldName splitName(std::string_view name) {
  FieldName f{lower(name), 0};
  if (!f.base.empty() && f.base.back() >= '1' && f.base.back() <= '4') {
    f.channel = f.base.back() - '0';
    f.base.pop_back();
  }
  return f;
}

// The built-in default itself holds "1.RVT", so a dot is allowed; what
// could leave the program home is not.
bool isPlainBaseName(std::string_view name) {
  if (name.empty() || name.front() == '.' || name.find("..") != std::string_view::npos) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
           c == '>' || c == '|' || c == ' ';
  });
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool inputModeAllowed(int channel, int mode) {
  if (mode >= 0 && mode <= 2) return true;
  return channel == 4 ? mode == protocol::kInputModePulse : mode == protocol::kInputModeExcitation;
}

}  // namespace

const std::vector<std::string>& configurationFieldNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v = {"RateCode", "ModeByte"};
    const auto perChannel = [&v](const char* base) {
      for (int ch = 1; ch <= kChannelCount; ++ch) v.push_back(base + std::to_string(ch));
    };
    perChannel("ChannelOn");
    v.push_back("SessionDescription");
    perChannel("ChannelDescription");
    v.push_back("StartDate");
    v.push_back("StartTime");
    perChannel("ScaleCode");
    v.push_back("InputModes");
    perChannel("TableName");
    perChannel("ScaleText");
    for (const char* n : {"DialOutWeekday", "DialOutMonthday", "DialOutKind", "StartToday", "Resolution"})
      v.push_back(n);
    return v;
  }();
  return names;
}

std::string configurationFieldText(const LoggerConfiguration& c, std::string_view name) {
  const FieldName f = splitName(name);
  const int ch = f.channel;
  if (ch == 0) {
    if (f.base == "ratecode") return std::string(1, c.rateCode());
    if (f.base == "modebyte") return std::to_string(c.modeByte());
    if (f.base == "sessiondescription") return bytes::trimmedRight(c.sessionDescription());
    if (f.base == "startdate") {
      const auto date = c.startCalendarDate();
      if (!date) return "invalid";
      char buf[24];
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", date->year, date->month, date->day);
      return buf;
    }
    if (f.base == "starttime") {
      const std::uint32_t s = c.startTime();
      return twoDigits(s / 3600 % 100) + ":" + twoDigits(s / 60 % 60) + ":" + twoDigits(s % 60);
    }
    if (f.base == "inputmodes") return std::to_string(c.inputModes());
    if (f.base == "dialoutweekday") return std::to_string(c.dialOutWeekday());
    if (f.base == "dialoutmonthday") return std::to_string(c.dialOutMonthday());
    if (f.base == "dialoutkind")
      return c.dialOutKind() == 0 ? "0" : std::string(1, static_cast<char>(c.dialOutKind()));
    if (f.base == "starttoday") return std::to_string(c.startTodayByte());
    if (f.base == "resolution") return std::to_string(c.resolution());
    return {};
  }
  if (f.base == "channelon") return std::to_string(c.channelOnByte(ch));
  if (f.base == "channeldescription") return bytes::trimmedRight(c.channelDescription(ch));
  if (f.base == "scalecode") return std::string(1, c.scaleCode(ch));
  if (f.base == "tablename") return c.tableName(ch);
  if (f.base == "scaletext") return c.scaleText(ch);
  return {};
}

Status setConfigurationField(LoggerConfiguration& c, std::string_view name, std::string_view value) {
  const FieldName f = splitName(name);
  const int ch = f.channel;
  const auto number = parseInteger(value);
  const auto inRange = [&](long lo, long hi) { return number && *number >= lo && *number <= hi; };

  if (ch == 0) {
    if (f.base == "ratecode") {
      if (value.size() != 1 || !protocol::isRateCode(value[0]))
        return refused(name, "one of the 28 rate codes ('4' to ';', 'C' to 'V')");
      c.setRateCode(value[0]);
      return {};
    }
    if (f.base == "modebyte") {
      if (!inRange(0, 63) || (*number & 7) > 2 || (*number >> 3) > 3)
        return refused(name, "stop mode (0-2) + 8 x start mode (0-3)");
      c.setModeByte(static_cast<std::uint8_t>(*number));
      return {};
    }
    if (f.base == "sessiondescription") {
      if (value.size() > config_layout::kSessionDescriptionWidth) return refused(name, "at most 31 characters");
      c.setSessionDescription(value);
      return {};
    }
    if (f.base == "startdate") {
      int y = 0, m = 0, d = 0, used = 0;
      const std::string text(value);
      if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &y, &m, &d, &used) != 3 ||
          used != static_cast<int>(text.size()) || !isValidDate(y, m, d) || y < 1600)
        return refused(name, "a date YYYY-MM-DD from 1600 on");
      c.setStartDate(*dayNumberOf({y, m, d}));
      return {};
    }
    if (f.base == "starttime") {
      int h = 0, mi = 0, s = 0, used = 0;
      const std::string text(value);
      const int got = std::sscanf(text.c_str(), "%2d:%2d%n:%2d%n", &h, &mi, &used, &s, &used);
      if (got < 2 || used != static_cast<int>(text.size()) || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 ||
          s > 59)
        return refused(name, "a time of day HH:MM or HH:MM:SS");
      c.setStartTime(static_cast<std::uint32_t>(h * 3600 + mi * 60 + (got == 3 ? s : 0)));
      return {};
    }
    if (f.base == "inputmodes") {
      bool ok = inRange(0, 4095);
      for (int k = 1; ok && k <= kChannelCount; ++k)
        ok = inputModeAllowed(k, protocol::inputModeOf(static_cast<std::uint16_t>(*number), k));
      if (!ok)
        return refused(name, "3 bits per channel (channel 1 lowest): 0, 1, 2, or 5 on channels 1-3 and 4 on channel 4");
      c.setInputModes(static_cast<std::uint16_t>(*number));
      return {};
    }
    if (f.base == "dialoutweekday") {
      if (!inRange(1, 7)) return refused(name, "1 (Sunday) to 7 (Saturday)");
      c.setDialOutWeekday(static_cast<std::uint8_t>(*number));
      return {};
    }
    if (f.base == "dialoutmonthday") {
      if (!inRange(1, 31)) return refused(name, "1 to 31");
      c.setDialOutMonthday(static_cast<std::uint8_t>(*number));
      return {};
    }
    if (f.base == "dialoutkind") {
      if (value == "0") c.setDialOutKind(kDialOutNone);
      else if (value == "a" || value == "b" || value == "c") c.setDialOutKind(static_cast<std::uint8_t>(value[0]));
      else return refused(name, "0 (none), a (monthly), b (weekly) or c (daily)");
      return {};
    }
    if (f.base == "starttoday") {
      if (!inRange(0, 1)) return refused(name, "0 or 1");
      c.setStartToday(*number == 1);
      return {};
    }
    if (f.base == "resolution") {
      if (!inRange(0, 3)) return refused(name, "0 (not applicable), 1 (12 bit), 2 (10 bit) or 3 (8 bit)");
      c.setResolution(static_cast<std::uint8_t>(*number));
      return {};
    }
  } else {
    if (f.base == "channelon") {
      if (!inRange(0, 1)) return refused(name, "0 (off) or 1 (on)");
      c.setChannelOn(ch, *number == 1);
      return {};
    }
    if (f.base == "channeldescription") {
      if (value.size() > config_layout::kChannelDescriptionWidth) return refused(name, "at most 24 characters");
      c.setChannelDescription(ch, value);
      return {};
    }
    if (f.base == "scalecode") {
      if (value.size() != 1 || !scaleItemOfCode(ch, value[0]))
        return refused(name, ch == 3 ? "A, B, C, L, 3, 1, R, P, X or a thermocouple code"
                                     : "A, B, C, L, 3, 1, R, P or X");
      c.setScaleCode(ch, value[0]);
      return {};
    }
    if (f.base == "tablename") {
      if (value.size() > config_layout::kTableNameWidth || !isPlainBaseName(value))
        return refused(name, "a table's base name of 1 to 8 characters, without directory");
      c.setTableName(ch, value);
      return {};
    }
    if (f.base == "scaletext") {
      if (const auto slash = value.find('/'); slash != std::string_view::npos) {
        auto accepted = acceptScaleEntries(trimmed(value.substr(0, slash)), trimmed(value.substr(slash + 1)));
        if (const auto* refusal = std::get_if<ScaleEntryRefused>(&accepted)) return refused(name, refusal->message);
        c.setScaleText(ch, std::get<ScalePair>(accepted).scaleText());
        return {};
      }
      if (value.size() != protocol::kScaleTextLength || !protocol::parseScaleText(value).ok())
        return refused(name, "two 6-character numbers (12 characters), or LOW/HIGH");
      c.setScaleText(ch, value);
      return {};
    }
  }
  return makeError(ErrorKind::Usage, "unknown field '" + std::string(name) + "'");
}

}  // namespace brevik::setup
