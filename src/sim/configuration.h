#pragma once
// The configuration messages a logger receives ("0"/"1"/"K" header, "2" and
// "3" descriptions, "4" channel records and input modes), applied to the
// twin's state so that the next status reply shows the new set-up.

#include <string_view>

#include "sim/logger_state.h"

namespace brevik::sim {

// Whether a command body is one of the configuration messages.
bool isConfigurationMessage(std::string_view body);

// Applies one message (the command body, without address and checksum).
// Returns false, changing nothing, when the message is malformed.
//
// Header "0"/"1": sets the clock, the rate, the channels and the start/stop
// mode, erases the memory (pointer 0x0200, bank A) and takes the session
// description and type codes; a start field whose year reads 97, 98 or 99
// sets the dial-out schedule instead of a preset start. Header "K" (labels
// only) takes just the session description and the type codes.
// Messages "2" and "3": two descriptions each; the first takes 24 characters
// when the message is long enough, else all of it (the setup form pads
// descriptions to 24, so a shorter message can only hold the first one).
// Message "4": channel records, input modes and, when present, the resolution.
bool applyConfigurationMessage(LoggerState& state, std::string_view body, Micros now);

}  // namespace brevik::sim
