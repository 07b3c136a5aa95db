#pragma once
// The places where the later steps of an exchange plug into the engine. Each
// is optional: an engine without a hook ends the exchange where the hook
// would have taken over.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"
#include "common/result.h"

namespace brevik::link {

// What the program around the link provides: the unattended log, the end of
// the program and the modem on the main window. Only the engine's reporting
// rule writes the log or ends the program through it.
class ExchangeHost {
 public:
  virtual ~ExchangeHost() = default;
  virtual void logEntry(std::string_view text) = 0;
  virtual void logAndQuit(std::string_view text) = 0;
  virtual void hangUpModem() = 0;               // the main window's hang-up
  virtual void autoAnswerHangUp() = 0;          // end an answered call, wait for the next
  // A dialled call connected in network mode: the main window shows its
  // modem panel (a program without one has nothing to show).
  virtual void modemCallConnected() {}
  // The local modem is about to be set up and dialled: the program may
  // choose the number to dial now (the phone book's current entry).
  virtual void beforeDialling() {}
};

// After a status reply: decode, show, and decide what the exchange does next
// (schedule, download, readings). It must either send the next command or
// end the exchange.
class StatusReplyHandler {
 public:
  virtual ~StatusReplyHandler() = default;
  virtual void processStatusReply(std::string_view reply) = 0;
};

// The memory download of a Receive exchange, in state AwaitData.
class DownloadSession {
 public:
  virtual ~DownloadSession() = default;
  virtual void onLine(std::string_view line) = 0;
  virtual void onTimeout() = 0;
  virtual bool running() const = 0;
  // Blocks received so far in this download.
  virtual std::uint32_t blocksReceived() const = 0;
  // AbortBtn: stop requesting; the next line finishes the download.
  virtual void abort() = 0;
};

// The real-time display (or graph) fed by a RealTime exchange.
class ReadingsView {
 public:
  virtual ~ReadingsView() = default;
  // A reading line whose checksum is right.
  virtual void readingReceived(std::string_view line) = 0;
  // A reading that cannot be shown ("Checksum error" in every value box).
  virtual void readingFailed(std::string_view text) = 0;
  // The readings stopped for good: the display closes and the main window
  // comes back.
  virtual void readingsEnded() = 0;
};

// The messages of a configuration command, built from the Logger
// Configuration for the identified logger.
struct ConfigurationCommand {
  std::vector<std::string> parts;  // sent in order, 1 to 4 of them
  bool shortTimeout = false;       // the sends get 9 ticks
};

class ConfigurationSource {
 public:
  virtual ~ConfigurationSource() = default;
  // An error carries the text to report (the link is closed then).
  virtual Result<ConfigurationCommand> build(char firmwareLetter) = 0;
  // The kind of box that reports the error of the last build.
  virtual MessageKind refusalKind() const { return MessageKind::Information; }
};

}  // namespace brevik::link
