#include "setup/configuration_fuzzing.h"

#include <string_view>

#include "common/clock.h"
#include "setup/configuration_command.h"
#include "setup/configuration_validation.h"
#include "setup/header_configuration.h"
#include "setup/logger_configuration.h"
#include "setup/setup_fields.h"
#include "setup/setup_model.h"

namespace brevik::setup {

namespace {

const DateTime kFixedNow{2024, 3, 5, 10, 20, 30, 0, 2};

void exerciseConfiguration(setup::LoggerConfiguration record) {
  const FixedClock clock(kFixedNow);
  setup::SetupModel form;
  form.applyFirmwareTexts(record.rateCode());
  form.populateFromRecord(record, clock);
  form.prepare({false, true, record.modeByte(), record.resolution(), 'q'}, record);
  setup::LoggerConfiguration collected = record;
  form.collect(collected);
  for (const auto& name : setup::configurationFieldNames()) {
    setup::LoggerConfiguration copy = collected;
    (void)setup::setConfigurationField(copy, name, setup::configurationFieldText(record, name));
  }
  for (const ConfigurationTarget target : {ConfigurationTarget{'q', false, false}, ConfigurationTarget{'A', true, false},
                                           ConfigurationTarget{'H', false, true}}) {
    (void)buildConfigurationCommand(record, target, kFixedNow);
    (void)buildConfigurationCommand(collected, target, kFixedNow);
  }
  (void)validateConfiguration(record, {kFixedNow, false, false}, [](const ValidationQuestion&) { return true; });
}

std::string_view asText(const std::uint8_t* data, std::size_t size) {
  return size == 0 ? std::string_view() : std::string_view(reinterpret_cast<const char*>(data), size);
}

}  // namespace

void exerciseSetupFileBytes(const std::uint8_t* data, std::size_t size) {
  auto record = setup::LoggerConfiguration::fromBytes(asText(data, size));
  if (record) exerciseConfiguration(*record);
}

void exerciseDataHeaderBytes(const std::uint8_t* data, std::size_t size) {
  const FixedClock clock(kFixedNow);
  auto record =
      setup::configurationFromDataHeader(asText(data, size), setup::LoggerConfiguration::builtInDefault(clock));
  if (record) exerciseConfiguration(*record);
}

}  // namespace brevik::setup
