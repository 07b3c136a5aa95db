#include "link/setup_configuration_source.h"

#include "protocol/vocabulary.h"

namespace brevik::link {

protocol::ConfigurationTarget configurationTarget(const protocol::LoggerStatus* lastStatus,
                                                  const app::LoggerSettings& settings, bool labelsOnly) {
  if (lastStatus) return {lastStatus->revision, lastStatus->oldFirmware, labelsOnly};
  const char seen = settings.LastRevision != '\0' ? settings.LastRevision : app::LoggerSettings().LastRevision;
  return {protocol::effectiveRevision(seen), protocol::isOldFirmware(seen), labelsOnly};
}

Result<ConfigurationCommand> SetupConfigurationSource::build(char /*firmwareLetter*/) {
  // The identification letter frames the messages; what they hold follows
  // the firmware the status reported.
  const auto target = configurationTarget(lastStatus_, settings_, context_.labelsOnly);
  auto built = protocol::buildConfigurationCommand(configuration_, target, clock_.now());
  if (const auto* refusal = std::get_if<protocol::ConfigurationRefusal>(&built)) {
    refusalKind_ = refusal->kind == protocol::RefusalKind::ScalingNotSupported ? MessageKind::Warning
                                                                                : MessageKind::Information;
    return makeError(ErrorKind::InvalidData, refusal->message);
  }
  return ConfigurationCommand{std::get<protocol::ConfigurationMessages>(built).messages, false};
}

}  // namespace brevik::link
