#pragma once
// Fuzz entry: the lines a logger sends after its status: real-time reading
// lines, decoded against the status of an 8-, 10- or 12-bit logger (the
// first byte chooses), and dial-out schedule replies.

#include <array>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "entry_support.h"
#include "protocol/dialout_schedule.h"
#include "protocol/reading_line.h"
#include "protocol/status_decode.h"
#include "sim/logger_state.h"
#include "sim/status_reply.h"

namespace brevik::fuzzing {

struct DecodedLogger {
  protocol::LoggerStatus status;
  protocol::UnitConverter converter;
};

// The status the virtual logger of a resolution and revision reports, with
// a thermistor, a linear, a contact and an unused channel.
inline DecodedLogger decodedLogger(int resolution, char revision) {
  sim::LoggerProfile profile;
  profile.resolution = resolution;
  profile.revision = revision;
  profile.types = "C3X0";
  profile.records = {"C", "  0.00100.00", "  0.00  1.00", ""};
  const DateTime june{2003, 6, 3, 9, 5, 0, 0, 2};
  const sim::LoggerState state = sim::LoggerState::fromProfile(profile, june);
  const FixedClock clock(june);
  const protocol::TableReader tables = [](char, std::string_view, int) -> Result<protocol::TableFileRows> {
    return protocol::TableFileRows{"C.Rvt", ' ', {{-40.0f, 330000.0f}, {25.0f, 10000.0f}, {150.0f, 50.0f}}};
  };
  auto decoded = protocol::decodeStatusReply(sim::statusReplyText(state, 0), protocol::StatusSettings{}, clock, tables);
  require(decoded.accepted());
  return {decoded.status, decoded.converter};
}

inline void readLoggerLines(const std::uint8_t* data, std::size_t size) {
  static const std::array<DecodedLogger, 4> loggers{decodedLogger(8, 'n'), decodedLogger(10, 'q'),
                                                    decodedLogger(12, 'q'), decodedLogger(8, 'H')};
  std::string_view text = bytesAsText(data, size);
  if (text.empty()) return;
  DecodedLogger logger = loggers[static_cast<unsigned char>(text[0]) % loggers.size()];
  text.remove_prefix(1);
  for (const std::string& line : splitAt(text, '\r', 256)) {
    const auto update = protocol::decodeReadingLine(line, logger.status, logger.converter);
    require(update.ok() || line.size() < 12 || line.find_first_not_of("0123456789ABCDEF") < 12);
    const std::string schedule = protocol::dialOutScheduleText(line);
    require(schedule.empty() || schedule.find("dialout") != std::string::npos);
  }
}

}  // namespace brevik::fuzzing
