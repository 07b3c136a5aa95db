#pragma once
// How kaldo prints a logger's status: every visible text of the status form,
// one "Component: text" line each in the form's order, then the dial-out
// schedule. decode-status and status print through here, so the two always
// agree.

#include <ostream>
#include <string>
#include <string_view>

#include "settings/logger_settings.h"
#include "protocol/logger_status.h"
#include "protocol/status_decode.h"

namespace brevik::cli {

// UTF-8 for the console; every blank kept, control bytes shown as \xNN so
// that a NUL or CR in a description cannot garble the line.
std::string consoleText(std::string_view cp1252);

// The values of the Logger Settings that the status decode reads.

void printStatusForm(std::ostream& out, const protocol::LoggerStatus& status, bool twelveHourClock);
void printScheduleText(std::ostream& out, std::string_view scheduleText);

}  // namespace brevik::cli
