#pragma once
// Fuzz entry: the lines a local modem answers the set-up string and the
// dial command with, NUL-separated: the first piece is the modem set-up
// string the settings hold, the second the number to dial, the rest reply
// lines classified in each dial-out state.

#include <string>
#include <vector>

#include "entry_support.h"
#include "link/modem_dialogue.h"

namespace brevik::fuzzing {

inline void classifyModemReplies(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> pieces = splitAt(bytesAsText(data, size), '\0', 34);
  const std::string setup = link::modemSetupCommand(pieces[0]);
  require(setup.size() <= link::kMaxModemCommand);
  const std::string number = pieces.size() > 1 ? pieces[1] : std::string();
  for (const bool wireless : {false, true}) {
    const std::string dial = link::modemDialCommand(wireless, number);
    for (std::size_t i = 2; i < pieces.size(); ++i) {
      for (const link::ModemChatStep& step : link::kDialOutChat) {
        const link::ModemReply verdict = link::classifyModemLine(step, pieces[i], dial);
        require(pieces[i].size() > 1 || verdict == link::ModemReply::Ignore);
      }
      (void)link::modemTimeoutText(pieces[i]);
    }
  }
}

}  // namespace brevik::fuzzing
