#pragma once
// The header of a download's data file, taken from the Logger Status the
// download starts from.

#include "common/clock.h"
#include "datafile/data_file_header.h"
#include "protocol/logger_status.h"

namespace brevik::datafile {

// First is the first-reading text; Last is the stop time of a stopped
// logger, and the logger clock (its latest reading) of one still running;
// Transferred is the logger clock and Eq. PC time the PC clock `pcNow`,
// both in the display form of the TwelveHourClock setting.
DataFileHeaderFields headerFieldsFromStatus(const protocol::LoggerStatus& status, const DateTime& pcNow,
                                            bool twelveHourClock);

}  // namespace brevik::datafile
