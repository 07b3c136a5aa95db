#pragma once
// Whether a logger has anything to download, decided from its status, and
// the texts that end the exchange when it has not.

#include <string>
#include <string_view>

#include "protocol/logger_status.h"

namespace brevik::protocol {

enum class PrecheckOutcome {
  Download,        // nothing stands in the way
  MemoryEmpty,     // pointer at 0x0200 and the ring has not wrapped
  NoChannel,       // "ao"
  WaitingPreset,   // "ws"
  WaitingTrigger,  // "wp"
};

struct PrecheckResult {
  PrecheckOutcome outcome = PrecheckOutcome::Download;
  std::string reason;   // Windows-1252, with its leading blank; empty for Download and MemoryEmpty
  std::string logCode;  // "ao", "ws", "wp"; empty otherwise

  bool proceeds() const { return outcome == PrecheckOutcome::Download; }
};

PrecheckResult downloadPrecheck(const LoggerStatus& status);

// The line written to the unattended log when an auto-answered call finds
// nothing to download.
std::string precheckLogLine(const PrecheckResult& result, const LoggerStatus& status);

// The message shown (or logged in command-line receive mode) otherwise.
std::string precheckMessage(const PrecheckResult& result);

}  // namespace brevik::protocol
