#pragma once
// Fuzz entry: kvlog.ini as read from disk, and the NAME=VALUE pairs of
// `kaldo settings`. A whole record reads, every field shows as text, and a
// record saved without a change reads back as the same bytes; a text a field
// accepts reads back as that text.

#include <string>
#include <string_view>

#include "entry_support.h"
#include "settings/logger_settings.h"

namespace brevik::fuzzing {

inline void checkFieldsAsText(const settings::LoggerSettings& loaded) {
  for (const settings::SettingField& field : settings::settingFields()) {
    const std::string text = settings::settingText(loaded, field);
    settings::LoggerSettings copy = loaded;
    if (settings::setSettingFromText(copy, field.name, text)) require(settings::settingText(copy, field) == text);
  }
}

inline void readSettingsRecord(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = bytesAsText(data, size);
  const auto loaded = settings::LoggerSettings::fromRecord(bytes);
  require(loaded.ok() == (bytes.size() >= settings::kLoggerSettingsSize));
  if (loaded) {
    // Fields out of range read as their defaults, so a save may differ from
    // the file; what it writes must read back as itself.
    const std::string saved = loaded->toRecord();
    const auto reread = settings::LoggerSettings::fromRecord(saved);
    require(reread.ok() && reread->toRecord() == saved);
    checkFieldsAsText(*loaded);
    return;
  }
  // Anything shorter than a record is read as the pairs of the command line.
  settings::LoggerSettings changed;
  for (const std::string& pair : splitAt(bytes, '\n', 64)) {
    const std::size_t equals = pair.find('=');
    if (equals == std::string::npos) continue;
    const std::string_view name = std::string_view(pair).substr(0, equals);
    const std::string_view value = std::string_view(pair).substr(equals + 1);
    const settings::LoggerSettings before = changed;
    if (!settings::setSettingFromText(changed, name, value)) {
      require(changed.toRecord() == before.toRecord());
      continue;
    }
    const auto again = settings::LoggerSettings::fromRecord(changed.toRecord());
    require(again.ok() && again->toRecord() == changed.toRecord());
  }
  checkFieldsAsText(changed);
}

}  // namespace brevik::fuzzing
