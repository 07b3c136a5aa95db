#pragma once
// What the communication status window shows of the exchange that runs:
// the step, the wake-up meter, the block count of a download and whether it
// can be aborted. It is told, never asked, and hears nothing about other
// windows: those learn what they need from the outcome.

#include <cstdint>
#include <string>
#include <string_view>

#include "link/link_types.h"

namespace brevik::link {

// The window as an exchange opens it.
struct ExchangeDisplay {
  ExchangeKind kind = ExchangeKind::None;
  std::string dataFileName;     // a Receive's data file, else "" (Windows-1252)
  bool blockCountShown = false; // a Receive counts blocks
  bool meterShown = true;       // the wake-up meter (not for the fast protocol or a baud change)
  bool abortEnabled = true;     // a command-line action cannot be aborted
};

class ExchangeObserver {
 public:
  virtual ~ExchangeObserver() = default;
  // The link opens (again, for a retry over a call).
  virtual void exchangeStarted(const ExchangeDisplay& display) = 0;
  virtual void stepText(std::string_view text) = 0;         // StatusBox
  virtual void meter(int percent) = 0;                      // ComMeter
  virtual void blockCount(std::uint32_t blocks) = 0;        // BlockCountField
  virtual void abortAvailable(bool available) = 0;          // AbortBtn shown
  // The window closes: the link is closed, or left up over a call.
  virtual void exchangeEnded() = 0;
  // The system beep that greets a finished download.
  virtual void downloadFinished() {}
};

}  // namespace brevik::link
