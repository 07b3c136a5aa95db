#pragma once
// Validate and send: the checks of a configuration asked through the
// Prompter (warnings, with OK or OK and Cancel), then the SendSetup exchange.

#include <filesystem>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "common/prompter.h"
#include "link/exchange_engine.h"
#include "setup/configuration_validation.h"
#include "setup/logger_configuration.h"
#include "setup/setup_document.h"

namespace brevik::program {

// Asks the validation questions of `configuration` through the prompter.
setup::ValidationOutcome askSetupQuestions(const setup::LoggerConfiguration& configuration, Prompter& prompter,
                                              const setup::ValidationContext& context);

// Runs the checks (none in labels-only mode; none after the fast-rate ones
// for a command-line send or an answered call) and, unless they stop it,
// starts the SendSetup exchange `request` asks for (its kind is set here).
// True when the exchange was started; `done` then hears its outcome.
bool validateAndSend(link::ExchangeEngine& engine, const setup::LoggerConfiguration& configuration, Prompter& prompter,
                     const Clock& clock, bool commandLineSend, link::ExchangeRequest request,
                     link::OutcomeCallback done);

// The send-named-setup-file operation of a scheduled send or an answered
// call: the home's NAME.set becomes the current set-up (form filled, saved
// copy kept, collected) and is sent without the questions nobody is there to
// answer. A file that cannot be read closes the link, writes
// "Impossible d'envoi  ; NAME.set not found" to the unattended log and
// hangs up the answered call; nothing is sent.
bool sendNamedSetupFile(link::ExchangeEngine& engine, link::ExchangeHost& host, setup::SetupDocument& document,
                        std::string_view nameWithoutExtension, const std::filesystem::path& home, const Clock& clock,
                        Prompter& prompter, link::ExchangeRequest request, link::OutcomeCallback done);

// The command-line send (mode s): the setup file named by `setupFileName`
// (SetupFileName of the settings, taken in the home unless absolute) becomes
// the current set-up as the setup window would hold it (form filled, saved
// copy kept, collected) and is sent without the questions nobody is there to
// answer. A file that cannot be read is reported as
// "Impossible d'envoi  ; " + name + " not found" (the log and the end of an
// unattended run) and nothing is sent. True when the exchange was started.
bool sendCommandLineSetupFile(link::ExchangeEngine& engine, setup::SetupDocument& document, std::string_view setupFileName,
                              const std::filesystem::path& home, const Clock& clock, Prompter& prompter,
                              link::ExchangeRequest request, link::OutcomeCallback done);

}  // namespace brevik::program
