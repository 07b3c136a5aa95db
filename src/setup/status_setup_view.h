#pragma once
// What the setup form takes from the last decoded status.

#include "protocol/logger_status.h"
#include "setup/setup_model.h"

namespace brevik::setup {

StatusSetupView statusSetupView(const protocol::LoggerStatus& status);

}  // namespace brevik::setup
