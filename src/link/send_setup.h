#pragma once
// Validate and send: the checks of a configuration asked through the
// Prompter (warnings, with OK or OK and Cancel), then the SendSetup exchange.

#include "common/clock.h"
#include "common/prompter.h"
#include "link/exchange_engine.h"
#include "protocol/configuration_validation.h"
#include "setup/logger_configuration.h"

namespace brevik::link {

// Asks the validation questions of `configuration` through the prompter.
protocol::ValidationOutcome askSetupQuestions(const setup::LoggerConfiguration& configuration, Prompter& prompter,
                                              const protocol::ValidationContext& context);

// Runs the checks (none in labels-only mode; none after the fast-rate ones
// for a command-line send or an answered call) and, unless they stop it,
// starts the SendSetup exchange. True when the exchange was started.
bool validateAndSend(ExchangeEngine& engine, const setup::LoggerConfiguration& configuration, Prompter& prompter,
                     const Clock& clock, bool commandLineSend);

}  // namespace brevik::link
