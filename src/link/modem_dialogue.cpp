#include "link/modem_dialogue.h"

namespace brevik::link {

const ModemChatStep* modemChatStep(LinkState state) {
  for (const ModemChatStep& step : kDialOutChat)
    if (step.state == state) return &step;
  return nullptr;
}

ModemReply classifyModemLine(const ModemChatStep& step, std::string_view line,
                             std::string_view dialCommand) {
  if (line.size() <= 1) return ModemReply::Ignore;
  for (const ModemReplyRule& rule : step.rules) {
    if (rule.verdict == ModemReply::Ignore) continue;
    const std::string_view part = rule.part.empty() ? dialCommand : rule.part;
    if (!part.empty() && line.find(part) != std::string_view::npos) return rule.verdict;
  }
  return step.otherwise;
}

std::string modemSetupCommand(std::string_view localModemInit) {
  return std::string(localModemInit.substr(0, kMaxModemCommand));
}

std::string modemDialCommand(bool wireless, std::string_view phoneNumber) {
  std::string command = (wireless ? "ATD " : "ATDT ") + std::string(phoneNumber);
  if (command.size() > kMaxModemCommand) command.resize(kMaxModemCommand);
  return command;
}

std::string modemTimeoutText(std::string_view received) {
  if (received.empty()) return "No response from modem, comm. aborted";
  return "Modem response: " + std::string(received) + "; comm. aborted";
}

}  // namespace brevik::link
