#include "cli/console_status_steps.h"

#include "cli/status_printing.h"
#include "program/status_decoding.h"

namespace brevik::cli {

protocol::StatusDecodeResult ConsoleStatusSteps::decode(std::string_view reply) {
  // Applied for the rest of this run only; kvlog.ini is left as it is.
  protocol::StatusDecodeResult result = program::decodeStatusInHome(reply, settings_, home_, clock_);
  if (result.accepted()) {
    readingStatus_ = result.status;
    converter_ = result.converter;
  }
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
