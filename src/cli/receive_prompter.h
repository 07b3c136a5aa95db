#pragma once
// kaldo receive's message boxes: the console's "! text" lines, less the
// question a window would ask after the transfer. "Trace Data?" offers the
// graph of the new file; kaldo cannot draw it and answers No for want of
// anyone to ask, so printing the question would only leave the reader
// waiting for a prompt that never comes. The transfer line before it stays.

#include <ostream>
#include <vector>

#include "cli/console_link.h"
#include "common/prompter.h"

namespace brevik::cli {

class ReceivePrompter final : public Prompter {
 public:
  explicit ReceivePrompter(std::ostream& out, ConfirmationPolicy policy = {})
      : console_(out, policy), policy_(policy) {}
  Answer ask(const Message& message) override;

  // The messages as they were printed.
  const std::vector<Message>& messages() const { return console_.messages(); }

 private:
  ConsolePrompter console_;
  ConfirmationPolicy policy_;
};

}  // namespace brevik::cli
