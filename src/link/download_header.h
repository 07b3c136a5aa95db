#pragma once
// The data file header of a download, from the Logger Status read at the
// start of the exchange and the PC's clock at that moment.

#include "common/clock.h"
#include "graph/data_file_header.h"
#include "protocol/logger_status.h"

namespace brevik::link {

// `pcNow` is the "Eq. PC time" beside the logger's clock; it is written with
// the twelve-hour clock when the setting asks for one, as the status texts
// are.
graph::DataFileHeaderFields downloadHeaderFields(const protocol::LoggerStatus& status,
                                                 const DateTime& pcNow, bool twelveHourClock);

}  // namespace brevik::link
