#pragma once
// The ports of an exchange as kaldo provides them on a console: message
// boxes become "! text" lines on standard output, the communication status
// window becomes progress lines on standard error, the unattended program's
// host prints its log entries, and the exchange trace goes to a stream.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"
#include "link/exchange_hooks.h"
#include "link/exchange_trace.h"
#include "link/exchange_observer.h"

namespace brevik::cli {

// Nobody is there to answer: every box counts as closed (answerOfClosedBox:
// OK-only boxes are acknowledged, a box with Retry is not retried, Cancel is
// chosen where there is one, else No), unless the policy answers Yes to the
// questions that offer it.
struct ConfirmationPolicy {
  Answer yesNo = Answer::No;
};

// Answer to a message box when no one can click.
Answer unattendedAnswer(Buttons buttons, const ConfirmationPolicy& policy);

// The message as "! text" lines (one per line of a text that holds CR/LF).
std::string messageLines(std::string_view cp1252Text);

class ConsolePrompter final : public Prompter {
 public:
  explicit ConsolePrompter(std::ostream& out, ConfirmationPolicy policy = {})
      : out_(out), policy_(policy) {}
  Answer ask(const Message& message) override;

  const std::vector<Message>& messages() const { return messages_; }

 private:
  std::ostream& out_;
  ConfirmationPolicy policy_;
  std::vector<Message> messages_;
};

// TCommStatus on standard error: the step text whenever it changes, the
// wake-up meter in steps of 20 %, the block count.
class ConsoleObserver : public link::ExchangeObserver {
 public:
  explicit ConsoleObserver(std::ostream& progress) : progress_(progress) {}

  void exchangeStarted(const link::ExchangeDisplay& display) override;
  void stepText(std::string_view text) override;
  void meter(int percent) override;
  void blockCount(std::uint32_t blocks) override;
  void abortAvailable(bool) override {}
  void exchangeEnded() override {}

 private:
  std::ostream& progress_;
  std::string lastStepText_;
  int lastMeterStep_ = -1;
  bool meterShown_ = false;
  bool blockCountShown_ = false;
};

// kaldo is not started for one unattended action, so it never logs and
// quits through the engine; a log entry an exchange writes is shown on the
// progress stream, and a quit is remembered and printed like a message.
class ConsoleHost final : public link::ExchangeHost {
 public:
  ConsoleHost(std::ostream& out, std::ostream& progress) : out_(out), progress_(progress) {}
  void logEntry(std::string_view text) override;
  void logAndQuit(std::string_view text) override;
  void hangUpModem() override {}
  void autoAnswerHangUp() override {}

  bool quitRequested() const { return quit_; }

 private:
  std::ostream& out_;
  std::ostream& progress_;
  bool quit_ = false;
};

// Trace lines to a stream (standard error or a file), flushed per line so
// that a trace of a link that hangs is complete up to the hang.
class StreamTraceSink final : public link::TraceSink {
 public:
  explicit StreamTraceSink(std::ostream& out) : out_(out) {}
  void traceLine(std::string_view line) override;

 private:
  std::ostream& out_;
};

}  // namespace brevik::cli
