#pragma once
// The Receive exchange of kaldo receive, on a link the caller has assembled
// (assembleLink): the status read going on into the download, progress of the
// blocks on standard error (a bar on a terminal), the final message on
// standard output.
// The download benchmark runs the very same exchange over a pseudo-terminal.

#include <optional>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "common/clock.h"
#include "link/exchange_request.h"
#include "link/exchange_trace.h"
#include "link/link_driver.h"

namespace brevik::cli {

// What a run keeps for a caller that reports it itself (--json): the
// outcome, the messages as they were printed and those of the automatic
// export (Windows-1252). The messages then go to standard error, leaving
// standard output to the caller.
struct ReceiveRecord {
  std::optional<link::ExchangeOutcome> outcome;
  std::vector<std::string> messages;
  std::vector<std::string> exportMessages;
};

// Downloads into `dataFile` (a UTF-8 path) with the run's Logger Settings,
// which the exchange works on as the program does; kExitOk only when the data
// file was written. `traceSink` and `record` may be null.
int runReceiveExchange(Context& ctx, settings::LoggerSettings& settings, link::LinkDriver& driver,
                       link::TraceSink* traceSink, const Clock& clock, const std::string& dataFile,
                       ReceiveRecord* record = nullptr);

}  // namespace brevik::cli
