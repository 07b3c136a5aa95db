#pragma once
// The fields of a Logger Configuration by name, as text: how `kaldo setup`
// shows a record and changes it from NAME=VALUE arguments. Every value is
// checked against what the setup form could have produced, so a file edited
// this way is one the form and the logger understand.

#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "setup/logger_configuration.h"

namespace brevik::setup {

// Field names in record order: RateCode, ModeByte, ChannelOn1-4,
// SessionDescription, ChannelDescription1-4, StartDate, StartTime,
// ScaleCode1-4, InputModes, TableName1-4, ScaleText1-4, DialOutWeekday,
// DialOutMonthday, DialOutKind, StartToday, Resolution.
const std::vector<std::string>& configurationFieldNames();

// The value of a field as text (Windows-1252): characters as themselves,
// numbers in decimal, texts without their padding blanks, StartDate as
// "YYYY-MM-DD" ("invalid" for no date), StartTime as "HH:MM:SS",
// DialOutKind as "0", "a", "b" or "c". Empty for an unknown name.
std::string configurationFieldText(const LoggerConfiguration& config, std::string_view name);

// Sets a field from text (Windows-1252); names are matched without regard to
// case. A Usage error names the field and what it accepts; the record is
// then unchanged. ScaleTextN also takes "LOW/HIGH", completed by the
// six-character rule and checked as the linear dialog checks it.
Status setConfigurationField(LoggerConfiguration& config, std::string_view name, std::string_view value);

}  // namespace brevik::setup
