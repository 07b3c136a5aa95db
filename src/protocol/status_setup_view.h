#pragma once
// What the setup form takes from the last decoded status.

#include "protocol/logger_status.h"
#include "setup/setup_model.h"

namespace brevik::protocol {

setup::StatusSetupView statusSetupView(const LoggerStatus& status);

}  // namespace brevik::protocol
