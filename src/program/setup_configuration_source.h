#pragma once
// The configuration command of a SendSetup exchange, built from the current
// Logger Configuration for the logger being set up.
//
// Which firmware the messages are built for: the revision and old-firmware
// mark of the last status read in this run; before any status (a
// command-line send), `LastRevision` of the settings, the last logger seen.

#include <optional>

#include "settings/logger_settings.h"
#include "common/clock.h"
#include "link/exchange_hooks.h"
#include "link/link_context.h"
#include "setup/configuration_command.h"
#include "protocol/logger_status.h"
#include "setup/logger_configuration.h"

namespace brevik::program {

// The firmware to build for: `lastStatus` when a status was read in this run,
// else the settings' `LastRevision` (a byte never written, 0, counts as the
// settings' default rather than as old firmware).
setup::ConfigurationTarget configurationTarget(const protocol::LoggerStatus* lastStatus,
                                                  const settings::LoggerSettings& settings, bool labelsOnly);

class SetupConfigurationSource final : public link::ConfigurationSource {
 public:
  SetupConfigurationSource(const setup::LoggerConfiguration& configuration, const settings::LoggerSettings& settings,
                           const link::LinkContext& context, const Clock& clock)
      : configuration_(configuration), settings_(settings), context_(context), clock_(clock) {}

  // The status decoded last in this run (null before the first one).
  void setLastStatus(const protocol::LoggerStatus* status) { lastStatus_ = status; }

  Result<link::ConfigurationCommand> build(char firmwareLetter) override;
  MessageKind refusalKind() const override { return refusalKind_; }

 private:
  const setup::LoggerConfiguration& configuration_;
  const settings::LoggerSettings& settings_;
  const link::LinkContext& context_;
  const Clock& clock_;
  const protocol::LoggerStatus* lastStatus_ = nullptr;
  MessageKind refusalKind_ = MessageKind::Information;
};

}  // namespace brevik::program
