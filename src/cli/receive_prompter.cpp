#include "cli/receive_prompter.h"

#include <string>
#include <string_view>

namespace brevik::cli {

namespace {

// The download's closing question, the last line of its completion message.
constexpr std::string_view kTraceDataQuestion = "Trace Data?";

bool isBreak(char c) { return c == '\r' || c == '\n' || c == ' '; }

// `text` without `question` at its end and the line breaks and blanks that
// part it from the text before; unchanged when it does not end with the
// question as a line or sentence of its own.
std::string withoutTrailingQuestion(std::string_view text, std::string_view question) {
  if (!text.ends_with(question)) return std::string(text);
  std::string_view rest = text.substr(0, text.size() - question.size());
  // "...seconds\r\rTrace Data?" or "... seconds. Trace Data?", never the
  // tail of a longer word.
  if (!rest.empty() && !isBreak(rest.back())) return std::string(text);
  while (!rest.empty() && isBreak(rest.back())) rest.remove_suffix(1);
  return std::string(rest);
}

}  // namespace

Answer ReceivePrompter::ask(const Message& message) {
  const Answer answer = unattendedAnswer(message.buttons, policy_);
  if (message.buttons != Buttons::YesNo || answer != Answer::No) return console_.ask(message);
  Message told = message;
  told.text = withoutTrailingQuestion(message.text, kTraceDataQuestion);
  // A message that was nothing but the question has nothing left to say.
  if (told.text.empty()) return answer;
  return console_.ask(told);
}

}  // namespace brevik::cli
