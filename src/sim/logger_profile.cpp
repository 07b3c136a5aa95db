#include "sim/logger_profile.h"

#include <charconv>
#include <functional>
#include <map>
#include <system_error>

#include "common/files.h"
#include "sim/framing.h"

namespace brevik::sim {

namespace {

constexpr std::array<std::string_view, kFaultKindCount> kFaultNames = {
    "badsum", "silence", "garbage", "dup", "short", "longident", "reject"};

std::string_view trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

// A value in double quotes keeps its blanks; the quotes are dropped.
std::string unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return std::string(value.substr(1, value.size() - 2));
  return std::string(value);
}

// Decimal, or hexadecimal with 0x.
std::optional<std::uint64_t> parseNumber(std::string_view s) {
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  std::uint64_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

std::optional<double> parseRate(std::string_view s) {
  double v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || !(v >= 0.0 && v <= 1.0)) return std::nullopt;
  return v;
}

std::array<std::string, 4> splitFour(std::string_view s, bool& ok) {
  std::array<std::string, 4> parts;
  std::size_t n = 0;
  while (true) {
    const auto bar = s.find('|');
    if (n == 4) {
      ok = false;
      return parts;
    }
    parts[n++] = std::string(s.substr(0, bar));
    if (bar == std::string_view::npos) break;
    s.remove_prefix(bar + 1);
  }
  ok = n == 4;
  return parts;
}

bool isDateCodeShape(std::string_view s) { return s.empty() || s.size() == 14; }

// A key's reader: stores the value or returns what is wrong with it.
using KeyReader = std::function<std::optional<std::string>(LoggerProfile&, const std::string&)>;

struct ParseContext {
  std::filesystem::path baseDir;
};

std::optional<std::string> readNumberInto(const std::string& v, std::uint64_t max, std::uint64_t& out) {
  const auto n = parseNumber(v);
  if (!n || *n > max) return "expected a number from 0 to " + std::to_string(max);
  out = *n;
  return std::nullopt;
}

template <typename T>
KeyReader numberKey(T LoggerProfile::*field, std::uint64_t max) {
  return [field, max](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    std::uint64_t n = 0;
    if (auto bad = readNumberInto(v, max, n)) return bad;
    p.*field = static_cast<T>(n);
    return std::nullopt;
  };
}

KeyReader charKey(char LoggerProfile::*field) {
  return [field](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v.size() != 1) return "expected one character";
    p.*field = v[0];
    return std::nullopt;
  };
}

KeyReader dateKey(std::string LoggerProfile::*field) {
  return [field](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (!isDateCodeShape(v)) return "expected a 14-character date code (ssmmhhddmmLwyy)";
    p.*field = v;
    return std::nullopt;
  };
}

std::optional<std::string> readFaults(LoggerProfile& p, const std::string& v) {
  p.faultRates = {};
  std::string_view rest = v;
  while (!rest.empty()) {
    const auto comma = rest.find(',');
    const std::string_view item = trimmed(rest.substr(0, comma));
    rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    if (item.empty()) continue;
    const auto colon = item.find(':');
    if (colon == std::string_view::npos) return "fault '" + std::string(item) + "' needs a rate (name:rate)";
    const std::string_view name = trimmed(item.substr(0, colon));
    const auto rate = parseRate(trimmed(item.substr(colon + 1)));
    std::size_t kind = kFaultKindCount;
    for (std::size_t i = 0; i < kFaultKindCount; ++i)
      if (kFaultNames[i] == name) kind = i;
    if (kind == kFaultKindCount)
      return "unknown fault '" + std::string(name) + "' (badsum, silence, garbage, dup, short, longident, reject)";
    if (!rate) return "fault rate of '" + std::string(name) + "' must be a number from 0 to 1";
    p.faultRates[kind] = *rate;
  }
  return std::nullopt;
}

std::optional<IncomingCall> parseCall(std::string_view item) {
  if (item == "ok") return IncomingCall{IncomingCall::Kind::Ok, 0};
  if (item == "empty") return IncomingCall{IncomingCall::Kind::Empty, 0};
  if (item == "silent") return IncomingCall{IncomingCall::Kind::Silent, 0};
  if (item == "garbled") return IncomingCall{IncomingCall::Kind::Garbled, 0};
  if (item == "busy-site") return IncomingCall{IncomingCall::Kind::BusySite, 0};
  if (item.rfind("drop:", 0) == 0) {
    const auto n = parseNumber(trimmed(item.substr(5)));
    if (!n || *n < 1 || *n > 100000) return std::nullopt;
    return IncomingCall{IncomingCall::Kind::Drop, static_cast<int>(*n)};
  }
  return std::nullopt;
}

std::optional<std::string> readCalls(LoggerProfile& p, const std::string& v) {
  p.modem.calls.clear();
  std::string_view rest = v;
  while (!rest.empty()) {
    const auto comma = rest.find(',');
    const std::string_view item = trimmed(rest.substr(0, comma));
    rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    if (item.empty()) continue;
    const auto call = parseCall(item);
    if (!call) return "unknown call '" + std::string(item) + "' (ok, empty, silent, garbled, drop:N, busy-site)";
    p.modem.calls.push_back(*call);
  }
  return std::nullopt;
}

KeyReader flagKey(bool ModemProfile::*field) {
  return [field](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v != "0" && v != "1") return "expected 0 or 1";
    p.modem.*field = v == "1";
    return std::nullopt;
  };
}

void addModemKeys(std::map<std::string, KeyReader, std::less<>>& keys) {
  keys["modem"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v != "hayes") return "expected hayes";
    p.modem.hayes = true;
    return std::nullopt;
  };
  keys["modem_number"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v.empty() || v.size() > 100 || v.find('\r') != std::string::npos)
      return "expected a telephone number of 1 to 100 characters";
    p.modem.number = v;
    return std::nullopt;
  };
  keys["modem_connect"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v.rfind("CONNECT", 0) != 0 || v.find('\r') != std::string::npos) return "expected a line starting with CONNECT";
    p.modem.connectLine = v;
    return std::nullopt;
  };
  keys["modem_init"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v == "OK") p.modem.init = ModemInitReply::Ok;
    else if (v == "ERROR") p.modem.init = ModemInitReply::Error;
    else if (v == "silent") p.modem.init = ModemInitReply::Silent;
    else return "expected OK, ERROR or silent";
    return std::nullopt;
  };
  keys["modem_dial"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v == "connect") p.modem.dial = ModemDialResult::Connect;
    else if (v == "busy") p.modem.dial = ModemDialResult::Busy;
    else if (v == "no-carrier") p.modem.dial = ModemDialResult::NoCarrier;
    else if (v == "no-answer") p.modem.dial = ModemDialResult::NoAnswer;
    else if (v == "silent") p.modem.dial = ModemDialResult::Silent;
    else return "expected connect, busy, no-carrier, no-answer or silent";
    return std::nullopt;
  };
  keys["modem_echo"] = flagKey(&ModemProfile::echo);
  keys["modem_drop"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    const auto n = parseNumber(v);
    if (!n || *n > 100000) return "expected a number of replies from 0 to 100000";
    p.modem.dropAfter = static_cast<int>(*n);
    return std::nullopt;
  };
  keys["calls"] = readCalls;
  keys["ring_after"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    const auto n = parseNumber(v);
    if (!n || *n > 86400) return "expected seconds from 0 to 86400";
    p.modem.ringAfterSeconds = static_cast<std::uint32_t>(*n);
    return std::nullopt;
  };
  keys["loopback"] = flagKey(&ModemProfile::loopback);
}

bool isModemKey(std::string_view key) {
  return key == "modem" || key.rfind("modem_", 0) == 0 || key == "calls" || key == "ring_after" || key == "loopback";
}

std::map<std::string, KeyReader, std::less<>> keyReaders(const ParseContext& ctx) {
  std::map<std::string, KeyReader, std::less<>> keys;
  keys["model"] = charKey(&LoggerProfile::model);
  keys["resolution"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v != "8" && v != "10" && v != "12") return "expected 8, 10 or 12";
    p.resolution = std::stoi(v);
    return std::nullopt;
  };
  keys["revision"] = charKey(&LoggerProfile::revision);
  keys["protocol"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v == "normal") p.protocol = WakeProtocol::Normal;
    else if (v == "fast") p.protocol = WakeProtocol::Fast;
    else return "expected normal or fast";
    return std::nullopt;
  };
  keys["wakeup"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v == "byte") p.wakeAnswer = WakeAnswer::ReplyByte;
    else if (v == "letter") p.wakeAnswer = WakeAnswer::LetterHandshake;
    else return "expected byte or letter";
    return std::nullopt;
  };
  keys["baud"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    const auto n = parseNumber(v);
    if (!n || *n < 1200 || *n > 57600 || *n % 1200 != 0) return "expected a baud rate from 1200 to 57600";
    p.baud = static_cast<std::uint32_t>(*n);
    return std::nullopt;
  };
  keys["ident"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v.find('\r') != std::string::npos) return "an identification line cannot hold a carriage return";
    p.ident = v;
    return std::nullopt;
  };
  keys["address"] = numberKey(&LoggerProfile::address, 255);
  keys["rate"] = charKey(&LoggerProfile::rate);
  keys["flags"] = numberKey(&LoggerProfile::flags, 255);
  keys["channels"] = numberKey(&LoggerProfile::channels, 255);
  keys["inputs"] = numberKey(&LoggerProfile::inputs, 0xFFF);
  keys["types"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v.size() != 4) return "expected four type code characters";
    p.types = v;
    return std::nullopt;
  };
  keys["records"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    bool ok = false;
    auto parts = splitFour(v, ok);
    if (!ok) return "expected four channel records separated by |";
    for (const auto& part : parts)
      if (part.size() > 12) return "a channel record holds at most 12 characters";
    p.records = parts;
    return std::nullopt;
  };
  keys["descriptions"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    bool ok = false;
    auto parts = splitFour(v, ok);
    if (!ok) return "expected four channel descriptions separated by |";
    for (const auto& part : parts)
      if (part.size() > 24) return "a channel description holds at most 24 characters";
    p.descriptions = parts;
    return std::nullopt;
  };
  keys["session"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v.size() > 31) return "a session description holds at most 31 characters";
    p.session = v;
    return std::nullopt;
  };
  keys["pointer"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    const auto n = parseNumber(v);
    if (!n || *n < 0x0200 || *n > 0x8000) return "expected a memory address from 0x0200 to 0x8000";
    p.pointer = static_cast<std::uint16_t>(*n);
    return std::nullopt;
  };
  keys["bank"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v.size() != 1 || v[0] < 'A' || v[0] > 'D') return "expected a bank letter A to D";
    p.bank = v[0];
    return std::nullopt;
  };
  keys["phase"] = numberKey(&LoggerProfile::phase, 255);
  keys["memory"] = [ctx](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    auto bytes = files::readBounded(ctx.baseDir / v, 4 * kBankBytes);
    if (!bytes && bytes.error().kind == ErrorKind::InvalidData) return "memory file '" + v + "' is larger than four banks";
    if (!bytes) return "cannot read memory file '" + v + "': " + bytes.error().message;
    p.memoryImage = std::move(*bytes);
    return std::nullopt;
  };
  keys["signal"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v == "sine") p.signal = {SignalShape::Kind::Sine, 0};
    else if (v == "ramp") p.signal = {SignalShape::Kind::Ramp, 0};
    else if (v.rfind("constant ", 0) == 0) {
      const auto n = parseNumber(trimmed(std::string_view(v).substr(9)));
      if (!n || *n > 4095) return "constant needs a raw count from 0 to 4095";
      p.signal = {SignalShape::Kind::Constant, static_cast<int>(*n)};
    } else {
      return "expected sine, ramp or constant N";
    }
    return std::nullopt;
  };
  keys["readings"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v.size() != 12) return "expected twelve hexadecimal digits";
    for (std::size_t i = 0; i < 12; i += 2)
      if (!parseHexByte(std::string_view(v).substr(i, 2))) return "expected twelve upper-case hexadecimal digits";
    p.readings = v;
    return std::nullopt;
  };
  keys["battery"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    const auto n = parseNumber(v);
    if (!n || *n > 255) return "expected a raw reading from 0 to 255";
    if (*n == 13) return "a battery reading of 13 would end the status line (carriage return)";
    p.battery = static_cast<std::uint8_t>(*n);
    return std::nullopt;
  };
  keys["clock"] = dateKey(&LoggerProfile::clock);
  keys["first"] = dateKey(&LoggerProfile::first);
  keys["stop"] = dateKey(&LoggerProfile::stop);
  keys["schedule"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    if (v.find('\r') != std::string::npos) return "a schedule reply cannot hold a carriage return";
    p.schedule = v;
    return std::nullopt;
  };
  keys["status"] = [ctx](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    auto bytes = files::readBounded(ctx.baseDir / v, kMaxStatusFileBytes);
    if (!bytes) return "cannot read status file '" + v + "': " + bytes.error().message;
    std::string line = std::move(*bytes);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    if (line.find('\r') != std::string::npos) return "status file '" + v + "' holds more than one line";
    p.rawStatus = std::move(line);
    return std::nullopt;
  };
  keys["reply_delay"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    const auto n = parseNumber(v);
    if (!n || *n > 1000) return "expected milliseconds from 0 to 1000";
    p.replyDelayMs = static_cast<std::uint32_t>(*n);
    return std::nullopt;
  };
  keys["faults"] = readFaults;
  keys["seed"] = [](LoggerProfile& p, const std::string& v) -> std::optional<std::string> {
    const auto n = parseNumber(v);
    if (!n) return "expected a number";
    p.seed = *n;
    return std::nullopt;
  };
  addModemKeys(keys);
  return keys;
}

}  // namespace

std::string_view faultName(FaultKind kind) { return kFaultNames[static_cast<std::size_t>(kind)]; }

WakeAnswer LoggerProfile::effectiveWakeAnswer() const {
  if (wakeAnswer) return *wakeAnswer;
  return static_cast<unsigned char>(revision) < 'I' ? WakeAnswer::LetterHandshake : WakeAnswer::ReplyByte;
}

std::string LoggerProfile::effectiveIdent() const { return ident ? *ident : std::string{'K', revision}; }

Result<LoggerProfile> parseLoggerProfile(std::string_view text, std::string_view sourceName,
                                         const std::filesystem::path& baseDir) {
  const auto keys = keyReaders(ParseContext{baseDir});
  LoggerProfile profile;
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const auto newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
    const auto where = std::string(sourceName) + ":" + std::to_string(lineNumber) + ": ";
    // A '#' starts a comment unless it stands inside a quoted value.
    const auto equals = line.find('=');
    const auto hash = line.find('#');
    if (hash != std::string_view::npos && (equals == std::string_view::npos || hash < equals)) line = line.substr(0, hash);
    if (trimmed(line).empty()) continue;
    if (line.find('=') == std::string_view::npos)
      return makeError(ErrorKind::InvalidData, where + "expected key = value");
    const std::string key(trimmed(line.substr(0, line.find('='))));
    std::string_view value = trimmed(line.substr(line.find('=') + 1));
    if (!(value.size() >= 2 && value.front() == '"')) {
      const auto comment = value.find('#');
      if (comment != std::string_view::npos) value = trimmed(value.substr(0, comment));
    } else {
      const auto closing = value.find('"', 1);
      if (closing == std::string_view::npos) return makeError(ErrorKind::InvalidData, where + "unterminated quote");
      value = value.substr(0, closing + 1);
    }
    const auto reader = keys.find(key);
    if (reader == keys.end()) return makeError(ErrorKind::InvalidData, where + "unknown key '" + key + "'");
    if (auto bad = reader->second(profile, unquoted(value)))
      return makeError(ErrorKind::InvalidData, where + key + ": " + *bad);
    if (!isModemKey(key)) profile.hasLoggerKeys = true;
  }
  return profile;
}

Result<LoggerProfile> loadLoggerProfile(const std::filesystem::path& path) {
  auto text = files::readBounded(path, kMaxProfileBytes);
  if (!text) return makeError(text.error().kind, "cannot read logger profile " + path.string() + ": " + text.error().message);
  return parseLoggerProfile(*text, path.filename().string(), path.parent_path());
}

Result<std::filesystem::path> findLoggerProfile(std::string_view profile, const std::filesystem::path& shippedDir) {
  const std::string name = profile.empty() ? std::string("default") : std::string(profile);
  std::error_code ec;
  const std::filesystem::path asPath(name);
  if (std::filesystem::is_regular_file(asPath, ec)) return asPath;
  const bool looksLikeName = name.find('/') == std::string::npos && name.find('\\') == std::string::npos;
  if (looksLikeName) {
    auto shipped = shippedDir / name;
    if (shipped.extension() != ".logger") shipped += ".logger";
    if (std::filesystem::is_regular_file(shipped, ec)) return shipped;
  }
  return makeError(ErrorKind::NotFound, "no logger profile '" + name + "' (neither a file nor a shipped profile)");
}

Result<LoggerProfile> loadSimProfile(std::string_view profile, const std::filesystem::path& shippedDir) {
  auto path = findLoggerProfile(profile, shippedDir);
  if (!path) return path.error();
  return loadLoggerProfile(*path);
}

std::optional<std::string> simProfileOfDevice(std::string_view device) {
  if (device == "sim") return std::string();
  if (device.rfind("sim:", 0) == 0) return std::string(device.substr(4));
  return std::nullopt;
}

}  // namespace brevik::sim
