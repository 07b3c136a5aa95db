#pragma once
// A status reply read as this program reads it, in both shells: with the
// units, clock format and humidity mode of the Logger Settings and the
// scaling tables of the program home.

#include <filesystem>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "protocol/status_decode.h"
#include "settings/logger_settings.h"

namespace brevik::program {

protocol::StatusSettings statusSettingsOf(const settings::LoggerSettings& settings);

// Decodes `reply` and applies what it changes to `settings` (LastRevision,
// LastModelCode); whether those are saved is the caller's choice. A scaling
// table that cannot be read comes back as TableFailed with its error, which
// the status reply flow reports.
protocol::StatusDecodeResult decodeStatusInHome(std::string_view reply, settings::LoggerSettings& settings,
                                                const std::filesystem::path& home, const Clock& clock);

}  // namespace brevik::program

namespace brevik::program {

// The data file of an auto-answered call: the site part of the session
// description and the next free AutoFileCounter in `home`. The counter is
// saved at once, so that a crash later in the call never reuses the name.
std::string answeredCallFileName(std::string_view sessionDescription, settings::LoggerSettings& settings,
                                 const std::filesystem::path& home);

}  // namespace brevik::program
