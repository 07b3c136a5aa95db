#pragma once
// What the program does with a configuration it has read from outside: show
// it in the setup form, collect it back, show its fields, check it and
// encode it for every kind of logger. Shared by the fuzz targets, so a
// record that reads without error is also driven through everything after.

#include "common/clock.h"
#include "protocol/configuration_command.h"
#include "protocol/configuration_validation.h"
#include "setup/logger_configuration.h"
#include "setup/setup_fields.h"
#include "setup/setup_model.h"

namespace brevik::fuzzing {

inline void exerciseConfiguration(setup::LoggerConfiguration record) {
  const FixedClock clock(DateTime{2024, 3, 5, 10, 20, 30, 0, 2});
  setup::SetupModel form;
  form.applyFirmwareTexts(record.rateCode());
  form.populateFromRecord(record, clock);
  form.prepare({false, true, record.modeByte(), record.resolution(), 'q'}, record);
  setup::LoggerConfiguration collected = record;
  form.collect(collected);
  for (const auto& name : setup::configurationFieldNames()) {
    const std::string text = setup::configurationFieldText(record, name);
    setup::LoggerConfiguration copy = collected;
    (void)setup::setConfigurationField(copy, name, text);
  }
  for (const protocol::ConfigurationTarget target :
       {protocol::ConfigurationTarget{'q', false, false}, protocol::ConfigurationTarget{'A', true, false},
        protocol::ConfigurationTarget{'H', false, true}}) {
    (void)protocol::buildConfigurationCommand(record, target, clock.now());
    (void)protocol::buildConfigurationCommand(collected, target, clock.now());
  }
  (void)protocol::validateConfiguration(record, {clock.now(), false, false},
                                        [](const protocol::ValidationQuestion&) { return true; });
}

}  // namespace brevik::fuzzing
