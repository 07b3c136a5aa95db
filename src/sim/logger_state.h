#pragma once
// What the virtual logger remembers: its set-up (changed by configuration
// messages), its clock, its memory and the values its sensors read. The
// byte-level behaviour lives in LoggerTwin; the reply texts are built from
// this state by the functions of status_reply.h.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/clock.h"
#include "sim/logger_profile.h"
#include "sim/sim_time.h"

namespace brevik::sim {

struct LoggerState {
  char model = '5';
  int resolution = 12;
  char revision = 'q';
  std::uint8_t address = 0;
  char rate = 'J';
  std::uint8_t flags = 0;     // status flags; bit 7 follows the resolution
  std::uint8_t channels = 0;  // bits 0-3 channels on, bit 5 stop when channel 1 opens
  std::uint16_t inputs = 0;   // the 12-bit input-mode word
  std::string types;          // four type codes
  std::array<std::string, 4> records;
  std::array<std::string, 4> descriptions;
  std::string session;

  // Memory. Reading it out (the download) is served from here; the image
  // holds banks A-D back to back, addresses 0x0200-0x7FFF of each (see
  // memory_image.h). Without a memory file in the profile it is recorded
  // from the signal, the unfinished group's low bits taken from the phase
  // byte.
  std::uint16_t pointer = 0x0200;
  char bank = 'A';
  std::uint8_t phase = 0;
  std::string memoryImage;

  SignalShape signal;
  std::optional<std::string> fixedReadings;  // twelve hex digits
  std::uint8_t battery = 60;

  // The clock runs with the twin's time: at twin time `clockSetAt` it showed
  // `clockAtSet`. A profile clock that is no real date stands still as text.
  DateTime clockAtSet;
  Micros clockSetAt = 0;
  std::string frozenClock;
  std::string first, stop;  // date codes as the status sends them

  std::optional<std::string> schedule;  // the schedule reply text before its checksum

  // Builds the state a profile describes; `pcNow` stands in for the clock
  // and the dates the profile leaves out.
  static LoggerState fromProfile(const LoggerProfile& profile, const DateTime& pcNow);

  int fullScale() const { return resolution == 12 ? 4095 : resolution == 10 ? 1023 : 255; }
  DateTime clockAt(Micros now) const;
  std::string clockCode(Micros now) const;
  void setClock(const DateTime& t, Micros now);

  // The four raw counts the channels read at `now`.
  std::array<int, 4> channelCounts(Micros now) const;
  // The twelve hex digits of the current readings, packed by resolution.
  std::string readingsField(Micros now) const;
};

// Packs four raw counts and the battery reading as the status and reading
// lines carry them (six hex pairs). The 12-bit packing has no battery pair.
std::string packReadings(int resolution, const std::array<int, 4>& counts, std::uint8_t battery);

}  // namespace brevik::sim
