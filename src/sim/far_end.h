#pragma once
// What a profile puts at the far end of the line: a looped-back cable, a
// modem (with its logger behind it), or the logger on a direct cable.

#include <memory>

#include "common/clock.h"
#include "sim/line_device.h"
#include "sim/logger_profile.h"

namespace brevik::sim {

std::unique_ptr<LineDevice> makeFarEnd(LoggerProfile profile, const DateTime& pcNow);

}  // namespace brevik::sim
