#include "cli/console_status_steps.h"

#include "cli/status_printing.h"
#include "protocol/channel_tables.h"

namespace brevik::cli {

protocol::StatusDecodeResult ConsoleStatusSteps::decode(std::string_view reply) {
  protocol::StatusDecodeResult result = protocol::decodeStatusReply(
      reply, statusSettingsOf(settings_), clock_, protocol::homeTableReader(home_));
  // Applied for the rest of this run only; kvlog.ini is left as it is.
  if (result.newLastRevision) settings_.LastRevision = *result.newLastRevision;
  if (result.newLastModelCode) settings_.LastModelCode = static_cast<std::uint8_t>(*result.newLastModelCode);
  if (result.outcome == protocol::StatusOutcome::TableFailed && result.tableError)
    prompter_.ask(Message{MessageKind::Error, result.tableError->message, Buttons::Ok, 0});
  return result;
}

Status ConsoleStatusSteps::appendReadingsLine(const std::string&, const protocol::LoggerStatus&) {
  return makeError(ErrorKind::Usage, "kaldo status writes no CSV file");
}

std::string ConsoleStatusSteps::autoAnswerFileName(const protocol::LoggerStatus&) { return {}; }

Status ConsoleStatusSteps::startDownload(const protocol::LoggerStatus&) {
  return makeError(ErrorKind::Usage, "kaldo status downloads nothing");
}

}  // namespace brevik::cli
