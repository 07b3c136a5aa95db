#include "sim/logger_state.h"

#include <algorithm>
#include <cmath>

#include "sim/date_code.h"
#include "sim/framing.h"
#include "sim/memory_image.h"
#include "sim/rate_interval.h"

namespace brevik::sim {

namespace {

// Generated signals repeat every minute; the channels are a quarter period apart.
constexpr Micros kSignalPeriod = 60 * kMicrosPerSecond;

int activeChannels(std::uint8_t channels) {
  int active = 0;
  for (int ch = 0; ch < 4; ++ch) active += (channels >> ch) & 1;
  return active;
}

// Recorded samples repeat every 60 readings; the channels are a quarter
// period apart. `index` counts samples of all channels interleaved.
std::uint16_t recordedSample(const LoggerState& s, std::size_t index) {
  const std::size_t channels = static_cast<std::size_t>(std::max(activeChannels(s.channels), 1));
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

// How long the samples memory holds took to record, in whole seconds: the
// samples of one channel times the interval.
std::int64_t recordedSeconds(const LoggerState& s) {
  const int active = activeChannels(s.channels);
  if (active == 0) return 0;
  const std::size_t perChannel =
      samplesHeld(s.resolution, s.model, s.bank, s.pointer, (s.flags & 0x08) != 0) /
      static_cast<std::size_t>(active);
  return static_cast<std::int64_t>(perChannel) * rateIntervalMillis(s.rate) / 1000;
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
  // Dates the profile leaves out agree with the memory, as a PC reading the
  // status expects: recording ends now (running, the last reading was just
  // taken; stopped, it stopped when the last one was) and began as long ago
  // as the samples held took. A stop time the profile gives is where the
  // recording ends; a clock that is no real date leaves the PC's time.
  DateTime recordingEnd = s.frozenClock.empty() ? s.clockAtSet : pcNow;
  if (const auto t = parseDateCode(p.stop)) recordingEnd = *t;
  s.stop = p.stop.empty() ? dateCode(recordingEnd, 'A') : p.stop;
  s.first = p.first.empty() ? dateCode(addSeconds(recordingEnd, -recordedSeconds(s)), 'A') : p.first;
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
