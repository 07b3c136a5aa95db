#pragma once
// The built-in virtual logger joined to the exchange in-process, in virtual
// time: a whole exchange, four-second wake-up included, runs at once.

#include <memory>

#include "common/clock.h"
#include "link/link_driver.h"
#include "sim/logger_profile.h"

namespace brevik::cli {

std::unique_ptr<link::LinkDriver> makeSimLinkDriver(sim::LoggerProfile profile, const DateTime& pcNow);

}  // namespace brevik::cli
