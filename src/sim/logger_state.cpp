#include "sim/logger_state.h"

#include <algorithm>
#include <cmath>

#include "sim/date_code.h"
#include "sim/framing.h"
#include "sim/memory_image.h"

namespace brevik::sim {

namespace {

// Generated signals repeat every minute; the channels are a quarter period apart.
constexpr Micros kSignalPeriod = 60 * kMicrosPerSecond;

// Recorded samples repeat every 60 readings; the channels are a quarter
// period apart. `index` counts samples of all channels interleaved.
std::uint16_t recordedSample(const LoggerState& s, std::size_t index) {
  int active = 0;
  for (int ch = 0; ch < 4; ++ch) active += (s.channels >> ch) & 1;
  const std::size_t channels = static_cast<std::size_t>(std::max(active, 1));
  const std::size_t reading = index / channels;
  const std::size_t slot = index % channels;
  const int full = s.fullScale();
  const double cycle = static_cast<double>((reading + slot * 15) % 60) / 60.0;
  switch (s.signal.kind) {
    case SignalShape::Kind::Constant:
      return static_cast<std::uint16_t>(std::clamp(s.signal.value, 0, full));
    case SignalShape::Kind::Ramp:
      return static_cast<std::uint16_t>(std::lround(cycle * 60.0 / 59.0 * full));
    case SignalShape::Kind::Sine:
      break;
  }
  return static_cast<std::uint16_t>(
      std::lround(full / 2.0 + full * 0.4 * std::sin(2.0 * 3.141592653589793 * cycle)));
}

std::string dateOrNow(const std::string& code, const DateTime& pcNow, char letter) {
  return code.empty() ? dateCode(pcNow, letter) : code;
}

}  // namespace

LoggerState LoggerState::fromProfile(const LoggerProfile& p, const DateTime& pcNow) {
  LoggerState s;
  s.model = p.model;
  s.resolution = p.resolution;
  s.revision = p.revision;
  s.address = p.address;
  s.rate = p.rate;
  s.flags = p.flags;
  s.channels = p.channels;
  s.inputs = p.inputs;
  s.types = p.types;
  s.records = p.records;
  s.descriptions = p.descriptions;
  s.session = p.session;
  s.pointer = p.pointer;
  s.bank = p.bank;
  s.phase = p.phase;
  s.memoryImage = p.memoryImage;
  s.signal = p.signal;
  s.fixedReadings = p.readings;
  s.battery = p.battery;
  s.schedule = p.schedule;
  if (p.clock.empty()) {
    s.clockAtSet = pcNow;
  } else if (const auto t = parseDateCode(p.clock)) {
    s.clockAtSet = *t;
  } else {
    s.frozenClock = p.clock;
  }
  s.first = dateOrNow(p.first, addSeconds(pcNow, -86400), 'A');
  s.stop = dateOrNow(p.stop, pcNow, 'A');
  if (s.memoryImage.empty()) {
    // No memory file: the memory holds what the signal recorded up to the
    // pointer; the phase byte holds the low bits of the unfinished group.
    s.memoryImage = recordMemory(s.resolution, s.model, s.bank, s.pointer, (s.flags & 0x08) != 0,
                                 [&s](std::size_t i) { return recordedSample(s, i); }, s.phase)
                        .image;
  }
  return s;
}

DateTime LoggerState::clockAt(Micros now) const {
  return addSeconds(clockAtSet, (now - clockSetAt) / kMicrosPerSecond);
}

std::string LoggerState::clockCode(Micros now) const {
  if (!frozenClock.empty()) return frozenClock;
  return dateCode(clockAt(now), bank);
}

void LoggerState::setClock(const DateTime& t, Micros now) {
  clockAtSet = t;
  clockSetAt = now;
  frozenClock.clear();
}

std::array<int, 4> LoggerState::channelCounts(Micros now) const {
  std::array<int, 4> counts{};
  const int full = fullScale();
  for (std::size_t ch = 0; ch < 4; ++ch) {
    const Micros t = now + static_cast<Micros>(ch) * kSignalPeriod / 4;
    const double cycle = static_cast<double>(t % kSignalPeriod) / static_cast<double>(kSignalPeriod);
    switch (signal.kind) {
      case SignalShape::Kind::Constant:
        counts[ch] = std::min(signal.value, full);
        break;
      case SignalShape::Kind::Ramp:
        counts[ch] = static_cast<int>(cycle * full);
        break;
      case SignalShape::Kind::Sine:
        counts[ch] = static_cast<int>(std::lround(full / 2.0 + full * 0.4 * std::sin(2.0 * 3.141592653589793 * cycle)));
        break;
    }
  }
  return counts;
}

std::string LoggerState::readingsField(Micros now) const {
  if (fixedReadings) return *fixedReadings;
  return packReadings(resolution, channelCounts(now), battery);
}

std::string packReadings(int resolution, const std::array<int, 4>& c, std::uint8_t battery) {
  std::array<int, 6> p{};
  if (resolution == 12) {
    p = {c[0] >> 4, c[1] >> 4, (c[0] & 15) | (c[1] & 15) << 4, c[2] >> 4, c[3] >> 4, (c[2] & 15) | (c[3] & 15) << 4};
  } else if (resolution == 10) {
    p = {c[0] >> 2, c[1] >> 2, c[2] >> 2, c[3] >> 2, (c[0] & 3) | (c[1] & 3) << 2 | (c[2] & 3) << 4 | (c[3] & 3) << 6,
         battery};
  } else {
    p = {battery, c[0], c[1], c[2], c[3], 0};
  }
  std::string field;
  for (const int v : p) field += hexByte(static_cast<std::uint8_t>(v & 0xFF));
  return field;
}

}  // namespace brevik::sim
