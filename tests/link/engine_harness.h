#pragma once
// The exchange engine wired to a fake port, virtual ticks, a scripted view,
// prompter and host, and a scripted logger that answers writes with bytes at
// given ticks.

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "settings/logger_settings.h"
#include "link/exchange_engine.h"
#include "link/framing.h"
#include "link/virtual_ticks.h"
#include "support/fake_serial_port.h"
#include "support/recording_host.h"
#include "support/scripted_observer.h"
#include "support/scripted_prompter.h"
#include "support/outcome_recorder.h"
#include "support/trace_lines.h"

namespace brevik::testing {

// Answers writes that contain a trigger. Rules are used once each, in order
// of their listing among those that match; `repeat` rules stay.
class ScriptedLogger {
 public:
  ScriptedLogger(FakeSerialPort& port, link::VirtualTicks& ticks) : port_(port), ticks_(ticks) {
    port_.onWrite = [this](std::string_view bytes) { onWrite(bytes); };
  }

  void when(std::string trigger, std::string reply, link::Ticks delay = 1, bool repeat = false) {
    rules_.push_back(Rule{std::move(trigger), std::move(reply), delay, repeat, false});
  }

  // Sends bytes `delay` ticks from now, unasked.
  void sendLater(std::string bytes, link::Ticks delay) {
    ticks_.after(delay, [this, bytes = std::move(bytes)] { port_.receive(bytes); });
  }

 private:
  struct Rule {
    std::string trigger;
    std::string reply;
    link::Ticks delay;
    bool repeat;
    bool used;
  };

  void onWrite(std::string_view bytes) {
    for (Rule& r : rules_) {
      if (r.used || bytes.find(r.trigger) == std::string_view::npos) continue;
      if (!r.repeat) r.used = true;
      sendLater(r.reply, r.delay);
      return;
    }
  }

  FakeSerialPort& port_;
  link::VirtualTicks& ticks_;
  std::vector<Rule> rules_;
};

// A status reply handler that hands each reply to a test function.
class LambdaReplies final : public link::StatusReplyHandler {
 public:
  void processStatusReply(std::string_view reply) override {
    replies.emplace_back(reply);
    if (then) then(reply);
  }
  std::vector<std::string> replies;
  std::function<void(std::string_view)> then;
};

class FixedConfiguration final : public link::ConfigurationSource {
 public:
  Result<link::ConfigurationCommand> build(char firmwareLetter) override {
    builtFor = firmwareLetter;
    if (failure) return makeError(ErrorKind::General, *failure);
    return link::ConfigurationCommand{parts, false};
  }
  std::vector<std::string> parts = {"0AAA", "2BBB", "3CCC", "4DDD"};
  std::optional<std::string> failure;
  char builtFor = 0;
};

struct EngineHarness {
  link::VirtualTicks ticks;
  FakeSerialPort port{&ticks};
  ScriptedObserver observer;
  ScriptedPrompter prompter;
  RecordingHost host;
  settings::LoggerSettings settings;
  link::ExchangeEngine engine{{port, ticks, observer, prompter, host}, settings};
  TraceLines trace;
  ScriptedLogger logger{port, ticks};
  LambdaReplies replies;
  FixedConfiguration configuration;
  link::ExchangeRequest next;
  OutcomeRecorder recorder;
  ReadingsRecorder readings;

  EngineHarness() {
    settings.FastProtocol = 0;
    settings.BaudRate = 9600;
    settings.NetworkMode = 0;
    engine.setTraceSink(&trace);
    engine.setStatusReplyHandler(&replies);
    engine.setConfigurationSource(&configuration);
    engine.setReadingsView(&readings);
  }

  const link::LinkContext& ctx() const { return engine.context(); }

  // Starts an exchange of `kind` with what the test put in `next`.
  void start(link::ExchangeKind kind) {
    next.kind = kind;
    engine.start(std::exchange(next, link::ExchangeRequest{}), recorder.callback());
  }
  const link::ExchangeOutcome& outcome() const { return recorder.last(); }

  void run(link::Ticks limit = 20000) { ticks.runUntilIdle(limit); }

  // Framed commands as they went out (">" + text, without CR).
  std::vector<std::string> frames() const {
    std::vector<std::string> out;
    for (const auto& l : trace.lines) {
      const auto at = l.find("] > >");
      if (at != std::string::npos) out.push_back(l.substr(at + 4));
    }
    return out;
  }

  // Trace lines containing `part`.
  std::vector<std::string> traced(std::string_view part) const {
    std::vector<std::string> out;
    for (const auto& l : trace.lines)
      if (l.find(part) != std::string::npos) out.push_back(l);
    return out;
  }

  std::vector<std::string> messageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : prompter.messages) out.push_back(m.text);
    return out;
  }

  // The framed text of a body for a logger of this firmware at address 0.
  static std::string framed(std::string_view body, char firmware = 'q', std::uint8_t address = 0) {
    return ">" + link::frameCommand(body, firmware, address);
  }
};

}  // namespace brevik::testing
