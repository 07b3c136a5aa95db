#include "sim/configuration.h"

#include "common/bytes.h"
#include "sim/date_code.h"
#include "sim/status_reply.h"

namespace brevik::sim {

namespace {

constexpr std::size_t kHeaderFixed = 1 + 13 + 13 + 1 + 1 + 1;  // up to the session description

int twoDigits(std::string_view s, std::size_t at) {
  const auto d = [&](std::size_t i) { return s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : 0; };
  return d(at) * 10 + d(at + 1);
}

bool applyHeader(LoggerState& s, std::string_view body, Micros now) {
  if (body.size() < kHeaderFixed + 4) return false;
  const std::string_view session = body.substr(kHeaderFixed, body.size() - kHeaderFixed - 4);
  const std::string_view types = body.substr(body.size() - 4);
  if (session.size() > 31) return false;
  if (body[0] == 'K') {
    s.session = bytes::trimmedRight(session);
    s.types = std::string(types);
    return true;
  }
  const auto clock = parseConfigTimeField(body.substr(1, 13));
  if (!clock) return false;
  const std::string_view start = body.substr(14, 13);
  const char rate = body[27];
  const int channelBits = static_cast<unsigned char>(body[28]) - 64;
  const int modeBits = static_cast<unsigned char>(body[29]) - 64;
  if (channelBits < 0 || channelBits > 63 || modeBits < 0 || modeBits > 63) return false;

  s.setClock(*clock, now);
  s.rate = rate;
  s.channels = static_cast<std::uint8_t>(channelBits & 0x2F);
  s.flags = static_cast<std::uint8_t>(modeBits & 0x17);  // ring, stopped, preset, trigger; not wrapped
  s.session = bytes::trimmedRight(session);
  s.types = std::string(types);
  s.pointer = 0x0200;
  s.bank = 'A';
  s.phase = 0;

  const std::string_view year = start.substr(11, 2);
  if (year == "97" || year == "98" || year == "99") {
    s.schedule = scheduleText(year, twoDigits(start, 2), twoDigits(start, 4), start[10], twoDigits(start, 6));
  } else {
    s.schedule.reset();
  }
  const bool waitsForPreset = (s.flags & 0x04) != 0;
  if (waitsForPreset && !s.schedule) {
    // The preset start is the first reading's time: the field without its letter.
    s.first = std::string(start.substr(0, 10)) + "A" + std::string(start.substr(10, 3));
  } else {
    s.first = s.clockCode(now);
  }
  return true;
}

void takeDescriptions(LoggerState& s, std::size_t firstChannel, std::string_view text) {
  const std::string_view one = text.substr(0, std::min<std::size_t>(text.size(), 24));
  const std::string_view two = text.size() > 24 ? text.substr(24) : std::string_view{};
  s.descriptions[firstChannel] = bytes::trimmedRight(one);
  s.descriptions[firstChannel + 1] = bytes::trimmedRight(two.substr(0, std::min<std::size_t>(two.size(), 24)));
}

bool applyChannelRecords(LoggerState& s, std::string_view body) {
  if (body.size() < 1 + 48 + 3) return false;
  const auto modeChar = [&](std::size_t i) { return (static_cast<unsigned char>(body[i]) - 64) & 63; };
  for (std::size_t ch = 0; ch < 4; ++ch) s.records[ch] = std::string(body.substr(1 + 12 * ch, 12));
  s.inputs = static_cast<std::uint16_t>(modeChar(50) | modeChar(51) << 6);
  if (body.size() >= 54 && body[52] == ' ') {
    if (body[53] == 'C') s.resolution = 12;
    else if (body[53] == 'B') s.resolution = 10;
    else if (body[53] == 'A') s.resolution = 8;
  }
  return true;
}

}  // namespace

bool isConfigurationMessage(std::string_view body) {
  if (body.empty()) return false;
  const char c = body[0];
  return c == '0' || c == '1' || c == 'K' || c == '2' || c == '3' || c == '4';
}

bool applyConfigurationMessage(LoggerState& state, std::string_view body, Micros now) {
  if (body.empty()) return false;
  switch (body[0]) {
    case '0':
    case '1':
    case 'K':
      return applyHeader(state, body, now);
    case '2':
      if (body.size() > 49) return false;
      takeDescriptions(state, 0, body.substr(1));
      return true;
    case '3':
      if (body.size() > 49) return false;
      takeDescriptions(state, 2, body.substr(1));
      return true;
    case '4':
      return applyChannelRecords(state, body);
    default:
      return false;
  }
}

}  // namespace brevik::sim
