#pragma once
// kaldo receive's message boxes: the console's "! text" lines, less the
// question a window would ask after the transfer. "Trace Data?" offers the
// graph of the new file; kaldo cannot draw it and answers No for want of
// anyone to ask, so printing the question would only leave the reader
// waiting for a prompt that never comes. The transfer line before it stays.

#include <ostream>
#include <string>
#include <string_view>

#include "cli/console_link.h"
#include "common/prompter.h"

namespace brevik::cli {

// The download's closing question, the last line of its completion message.
inline constexpr std::string_view kTraceDataQuestion = "Trace Data?";

// `text` without `question` at its end and the line breaks and blanks that
// part it from the text before; unchanged when it does not end with the
// question as a line or sentence of its own.
std::string withoutTrailingQuestion(std::string_view text, std::string_view question);

class ReceivePrompter final : public Prompter {
 public:
  explicit ReceivePrompter(std::ostream& out, ConfirmationPolicy policy = {})
      : console_(out, policy), policy_(policy) {}
  Answer ask(const Message& message) override;

 private:
  ConsolePrompter console_;
  ConfirmationPolicy policy_;
};

}  // namespace brevik::cli
