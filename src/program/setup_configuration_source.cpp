#include "program/setup_configuration_source.h"

#include "protocol/vocabulary.h"

namespace brevik::program {

setup::ConfigurationTarget configurationTarget(const protocol::LoggerStatus* lastStatus,
                                                  const settings::LoggerSettings& settings, bool labelsOnly) {
  if (lastStatus) return {lastStatus->revision, lastStatus->oldFirmware, labelsOnly};
  const char seen = settings.LastRevision != '\0' ? settings.LastRevision : settings::LoggerSettings().LastRevision;
  return {protocol::effectiveRevision(seen), protocol::isOldFirmware(seen), labelsOnly};
}

Result<link::ConfigurationCommand> SetupConfigurationSource::build(char /*firmwareLetter*/) {
  // The identification letter frames the messages; what they hold follows
  // the firmware the status reported.
  const auto target = configurationTarget(lastStatus_, settings_, context_.labelsOnly);
  auto built = setup::buildConfigurationCommand(configuration_, target, clock_.now());
  if (const auto* refusal = std::get_if<setup::ConfigurationRefusal>(&built)) {
    refusalKind_ = refusal->kind == setup::RefusalKind::ScalingNotSupported ? MessageKind::Warning
                                                                                : MessageKind::Information;
    return makeError(ErrorKind::InvalidData, refusal->message);
  }
  return link::ConfigurationCommand{std::get<setup::ConfigurationMessages>(built).messages, false};
}

}  // namespace brevik::program
