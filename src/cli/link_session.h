#pragma once
// What kaldo's set-up exchanges share: the --port and --trace options, the
// link to the logger (the port map's device, a --port device, or the
// built-in virtual logger for `sim` / `sim:PROFILE`), the console ports and
// the exchange engine over them, and running one exchange to its end.

#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/logger_settings.h"
#include "cli/command.h"
#include "cli/console_link.h"
#include "link/exchange_engine.h"
#include "link/link_driver.h"

namespace brevik::cli {

struct LinkOptions {
  std::optional<std::string> port;
  bool trace = false;
  std::string traceFile;  // empty: standard error
};

// Takes --port DEVICE, --port=DEVICE, --trace and --trace=FILE out of `args`
// (what remains is left in `args`); an error text for a --port without device.
std::optional<std::string> takeLinkOptions(std::vector<std::string>& args, LinkOptions& options);

class LinkSession {
 public:
  // Opens nothing yet: the driver is made, the trace file opened, the engine
  // built over the console ports. On failure `error()` says why and
  // `exitCode()` what kaldo returns.
  LinkSession(Context& ctx, const char* commandName, app::LoggerSettings& settings, const LinkOptions& options);

  bool ready() const { return engine_ != nullptr; }
  int exitCode() const { return exitCode_; }

  link::ExchangeEngine& engine() { return *engine_; }
  ConsolePrompter& prompter() { return *prompter_; }
  ConsoleLinkView& view() { return *view_; }

  // Starts an exchange of `kind` and runs it to its end; false (with a
  // message on the error stream) when it did not end in time.
  bool run(link::ExchangeKind kind);
  // Runs what was started already (validate-and-send opens the link itself).
  bool runStarted();

 private:
  Context& ctx_;
  const char* name_;
  int exitCode_ = kExitFailed;
  std::unique_ptr<link::LinkDriver> driver_;
  std::ofstream traceFile_;
  std::unique_ptr<StreamTraceSink> trace_;
  std::unique_ptr<ConsolePrompter> prompter_;
  std::unique_ptr<ConsoleLinkView> view_;
  std::unique_ptr<ConsoleHost> host_;
  std::unique_ptr<link::ExchangeEngine> engine_;
};

}  // namespace brevik::cli
