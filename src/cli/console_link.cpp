#include "cli/console_link.h"

#include "cli/status_printing.h"

namespace brevik::cli {

Answer unattendedAnswer(Buttons buttons, const ConfirmationPolicy& policy) {
  const bool asksYes = buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel;
  if (asksYes && policy.yesNo == Answer::Yes) return Answer::Yes;
  return answerOfClosedBox(buttons);
}

std::string messageLines(std::string_view text) {
  std::string out;
  bool first = true;
  while (first || !text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    out += "! " + consoleText(line) + "\n";
    first = false;
    if (end == std::string_view::npos) break;
    // CR LF is one line end.
    std::size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    text.remove_prefix(next);
  }
  return out;
}

Answer ConsolePrompter::ask(const Message& message) {
  messages_.push_back(message);
  out_ << messageLines(message.text) << std::flush;
  return unattendedAnswer(message.buttons, policy_);
}

void ConsoleObserver::exchangeStarted(const link::ExchangeDisplay& display) {
  meterShown_ = display.meterShown;
  blockCountShown_ = display.blockCountShown;
  meter(0);
}

void ConsoleObserver::stepText(std::string_view text) {
  if (text == lastStepText_) return;
  lastStepText_ = std::string(text);
  if (!text.empty()) progress_ << "  " << consoleText(text) << "\n" << std::flush;
}

void ConsoleObserver::meter(int percent) {
  if (!meterShown_) return;
  const int step = percent / 20;
  if (step == lastMeterStep_) return;
  lastMeterStep_ = step;
  if (percent > 0) progress_ << "  wake-up " << step * 20 << " %\n" << std::flush;
}

void ConsoleObserver::blockCount(std::uint32_t blocks) {
  if (blockCountShown_ && blocks > 0) progress_ << "  blocks " << blocks << "\n" << std::flush;
}

void ConsoleHost::logEntry(std::string_view text) {
  progress_ << "  log: " << consoleText(text) << "\n" << std::flush;
}

void ConsoleHost::logAndQuit(std::string_view text) {
  quit_ = true;
  out_ << messageLines(text) << std::flush;
}

void StreamTraceSink::traceLine(std::string_view line) { out_ << line << "\n" << std::flush; }

}  // namespace brevik::cli
