#pragma once
// The dial-out dialogue with the local Hayes modem, as data: for each modem
// state, what the status box says, how long the modem may take, and what
// each reply line means. The engine only acts on the verdict.

#include <array>
#include <string>
#include <string_view>

#include "link/link_types.h"
#include "link/tick_scheduler.h"

namespace brevik::link {

enum class ModemReply {
  Ignore,      // noise, a blank line, the echo of the set-up string
  Echo,        // the modem repeating the dial command: forget it and wait
  Accepted,    // "OK" to the set-up string: dial
  Connected,   // the far end answered
  Busy,
  Unexpected,  // any other line: the exchange ends with it
};

struct ModemReplyRule {
  std::string_view part;  // the line contains it; empty stands for the dial command
  ModemReply verdict;
};

struct ModemChatStep {
  LinkState state;
  std::string_view statusPrefix;   // StatusBox before the command
  Ticks timeout;
  std::array<ModemReplyRule, 3> rules;  // first match wins; unused rules are Ignore
  ModemReply otherwise;
};

inline constexpr std::size_t kMaxModemCommand = 100;
// After the connect line, for the two modems to settle before the wake-up.
inline constexpr Ticks kModemSettleTicks = 36;

inline constexpr std::array<ModemChatStep, 2> kDialOutChat{{
    {LinkState::ModemSetup, "Setup modem: ", 370,
     {{{"OK", ModemReply::Accepted}, {"", ModemReply::Ignore}, {"", ModemReply::Ignore}}},
     ModemReply::Ignore},
    {LinkState::Dialling, "Calling: ", 1820,
     {{{"", ModemReply::Echo}, {"CON", ModemReply::Connected}, {"BUS", ModemReply::Busy}}},
     ModemReply::Unexpected},
}};

// The chat step of `state`, or none outside the dial-out states.
const ModemChatStep* modemChatStep(LinkState state);

// What a complete line means in `step`; `dialCommand` is the last command
// sent, which the modem may echo. Lines of one character or less mean
// nothing (the halves of the modem's CR LF).
ModemReply classifyModemLine(const ModemChatStep& step, std::string_view line,
                             std::string_view dialCommand);

// The set-up string as sent (without CR): its first 100 characters.
std::string modemSetupCommand(std::string_view localModemInit);
// "ATD " for a cellular or radio modem, "ATDT " (tone) on a telephone line.
std::string modemDialCommand(bool wireless, std::string_view phoneNumber);
// The report when the modem stays quiet, or says nothing usable, in time.
std::string modemTimeoutText(std::string_view received);

}  // namespace brevik::link
