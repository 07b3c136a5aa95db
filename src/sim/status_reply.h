#pragma once
// The reply lines the virtual logger sends, built from its state. Each is
// returned without its final CR.

#include <string>

#include "sim/logger_state.h"

namespace brevik::sim {

// The status reply before its checksum: 250 characters, then the model code
// (revisions above 'I', and always on 12-bit loggers so that the battery byte
// keeps its place), then on 12-bit loggers the raw battery byte.
std::string statusReplyText(const LoggerState& state, Micros now);

// The status reply with its checksum: 254 characters from a 12-bit logger,
// 253 from others, 252 from loggers of revision 'I' and below.
std::string statusReplyLine(const LoggerState& state, Micros now);

// The answer to the schedule request "DA01D0": the schedule text with its
// checksum ("000000000000" when no dial-out is set).
std::string scheduleReplyLine(const LoggerState& state);

// One real-time reading: ">" + the twelve digits of the current readings +
// their checksum.
std::string readingLine(const LoggerState& state, Micros now);

// The schedule text of a configured dial-out: kind ("97" monthly, "98" weekly,
// "99" daily), minutes, hours, the weekday digit as a hex pair ("31" Sunday to
// "37" Saturday), the day of the month, and "00".
std::string scheduleText(std::string_view kind, int minutes, int hours, char weekdayDigit, int monthDay);

}  // namespace brevik::sim
