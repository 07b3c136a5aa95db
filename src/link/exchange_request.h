#pragma once
// How an exchange is asked for and how it ends. A caller hands the engine one
// ExchangeRequest with a callback, and hears back exactly once, through an
// ExchangeOutcome, when the link is closed again (or left up over a call).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/link_types.h"
#include "link/reporting.h"

namespace brevik::link {

// How the program runs while the exchange does. A command-line action of an
// unattended run sends what would be a message box to the unattended log
// and ends the program; an answered call logs and waits for the next call.
struct RunMode {
  bool commandLineReceive = false;  // the program was started to receive (a data or CSV file)
  bool commandLineSetup = false;    // the program was started to send a set-up
  bool answeredCall = false;        // a site called in and is being served
};

struct ExchangeRequest {
  ExchangeKind kind = ExchangeKind::Status;
  std::string dataFileName;            // Receive: the data file (Windows-1252)
  bool labelsOnly = false;             // SendSetup: "Change Scaling and/or Labels"
  std::uint8_t newStationAddress = 0;  // StationAddressKind
  std::uint32_t targetBaud = 0;        // ChangeBaud: the rate the logger is to run at
  bool realTimeGraph = false;          // RealTime: the readings feed the real-time graph
  RunMode run;
};

// Where a text of the exchange went.
enum class ReportedTo { MessageBox, Log, LogAndQuit };

struct ReportedText {
  std::string text;  // Windows-1252
  ReportedTo to = ReportedTo::MessageBox;
  friend bool operator==(const ReportedText&, const ReportedText&) = default;
};

struct ExchangeOutcome {
  ExchangeKind kind = ExchangeKind::None;  // as requested
  bool succeeded = false;
  // Every message and log line of the exchange, in order.
  std::vector<ReportedText> reported;
  std::string fileWritten;  // the data file a Receive put in place (Windows-1252)
  std::uint32_t blocks = 0;
  std::uint32_t badLines = 0;
  std::uint32_t timeouts = 0;
  // A Status: the dial-out schedule's text, when the logger sent it.
  std::optional<std::string> scheduleText;

  // The last text reported, or "" when there was none.
  std::string lastText() const { return reported.empty() ? std::string() : reported.back().text; }
};

using OutcomeCallback = std::function<void(const ExchangeOutcome&)>;

}  // namespace brevik::link
