#pragma once
// One exchange run by a kaldo set-up command: the link of link_assembly.h,
// the console ports, the exchange engine over them, and running an exchange
// to its end.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/console_link.h"
#include "cli/link_assembly.h"
#include "common/clock.h"
#include "link/exchange_engine.h"
#include "program/run_exchange.h"

namespace brevik::cli {

// Takes every --port and --trace option out of `args`, leaving the rest;
// an error text for a --port without a device.
std::optional<std::string> takeLinkOptions(std::vector<std::string>& args, LinkOptions& options);

// For a command that takes nothing but --port and --trace: reads them from
// the command's arguments into `options`; on anything else says so with the
// usage on standard error and gives the exit status to end with.
std::optional<int> takeOnlyLinkOptions(const Context& ctx, const char* commandName, const char* usage,
                                       LinkOptions& options);

// The end of a command that dialled: the call is hung up (DTR pulse) before
// kaldo ends; nothing happens without a call.
void hangUpDialledCall(link::ExchangeEngine& engine, link::LinkDriver& driver);

class LinkSession {
 public:
  // Assembles the link and builds the engine over the console ports; when
  // that fails (said on the error stream) `ready()` is false and
  // `exitCode()` is what kaldo returns. The exchange's messages go to
  // `messages` (standard output unless given).
  LinkSession(Context& ctx, const char* commandName, settings::LoggerSettings& settings, const LinkOptions& options,
              const Clock& clock, std::ostream* messages = nullptr);
  // A call the command dialled is hung up here: one call per command.
  ~LinkSession();
  LinkSession(const LinkSession&) = delete;
  LinkSession& operator=(const LinkSession&) = delete;

  bool ready() const { return engine_ != nullptr; }
  int exitCode() const { return exitCode_; }

  link::ExchangeEngine& engine() { return *engine_; }
  ConsolePrompter& prompter() { return prompter_; }

  // Runs the exchange `request` asks for to its end; nothing (said on the
  // error stream) when it did not end in time.
  std::optional<link::ExchangeOutcome> run(link::ExchangeRequest request);
  // The same for an exchange that `start` opens (validate-and-send); nothing
  // when it opened none, or when it did not end in time.
  std::optional<link::ExchangeOutcome> run(link::ExchangeKind kind, const program::ExchangeStarter& start);
  // Live readings until `watch` has enough (runReadings); a run stopped
  // because the readings stopped coming is said on the error stream.
  program::ReadingsRun runReadings(link::ExchangeRequest request, const program::ReadingsWatch& watch);
  // The command's exchange failed: what the link can tell about why
  // (explainFailedLink).
  void explainFailure() const;

 private:
  Context& ctx_;
  const char* name_;
  const settings::LoggerSettings& settings_;
  int exitCode_ = kExitFailed;
  LinkAssembly link_;
  ConsolePrompter prompter_;
  ConsoleObserver observer_;
  ConsoleHost host_;
  std::unique_ptr<link::ExchangeEngine> engine_;
};

}  // namespace brevik::cli
