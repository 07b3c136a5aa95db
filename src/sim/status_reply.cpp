#include "sim/status_reply.h"

#include <cstdio>

#include "common/bytes.h"
#include "sim/framing.h"

namespace brevik::sim {

namespace {

bool revisionAtLeast(char revision, char needed) {
  return static_cast<unsigned char>(revision) >= static_cast<unsigned char>(needed);
}

std::string inputModeChars(const LoggerState& s) {
  if (!revisionAtLeast(s.revision, 'Q')) return "@@";
  return {static_cast<char>((s.inputs & 63) + 64), static_cast<char>(((s.inputs >> 6) & 63) + 64)};
}

}  // namespace

std::string statusReplyText(const LoggerState& s, Micros now) {
  std::string r;
  r.reserve(252);
  r += bytes::padded(s.first, 14);
  r += bytes::padded(s.stop, 14);
  const std::uint8_t flags =
      static_cast<std::uint8_t>((s.flags & 0x7F) | (s.resolution == 10 ? 0x80 : 0x00));
  r += hexByte(flags);
  r += hexByte(static_cast<std::uint8_t>(s.rate));
  r += hexByte(s.channels);
  r += inputModeChars(s);
  r += hexByte(s.phase);
  r += hexWord(s.pointer);
  for (const auto& d : s.descriptions) r += bytes::padded(d, 24);
  r += bytes::padded(s.session, 31);
  r += bytes::padded(s.readingsField(now), 12);
  r += bytes::padded(s.clockCode(now), 14);
  r += hexByte(revisionAtLeast(s.revision, 'O') ? s.address : std::uint8_t{0});
  for (const auto& rec : s.records) r += bytes::padded(rec, 12);
  r += bytes::padded(s.types, 4);
  r += s.revision;
  if (revisionAtLeast(s.revision, 'J') || s.resolution == 12) r += s.model;
  if (s.resolution == 12) r += static_cast<char>(s.battery);
  return r;
}

std::string statusReplyLine(const LoggerState& s, Micros now) { return withChecksum(statusReplyText(s, now)); }

std::string scheduleReplyLine(const LoggerState& s) {
  return withChecksum(s.schedule ? *s.schedule : std::string("000000000000"));
}

std::string readingLine(const LoggerState& s, Micros now) { return ">" + withChecksum(s.readingsField(now)); }

std::string scheduleText(std::string_view kind, int minutes, int hours, char weekdayDigit, int monthDay) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%02d", minutes % 100, hours % 100);
  char day[4];
  std::snprintf(day, sizeof day, "%02d", monthDay % 100);
  return std::string(kind) + buf + hexByte(static_cast<std::uint8_t>(weekdayDigit)) + day + "00";
}

}  // namespace brevik::sim
