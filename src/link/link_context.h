#pragma once
// The link context: everything one exchange knows, one per program. The
// exchange engine owns it; the windows and the later steps of an exchange
// (status reply, download, modems) read and set the items they share.

#include <array>
#include <cstdint>
#include <string>

#include "link/link_types.h"
#include "link/tick_scheduler.h"

namespace brevik::link {

struct LinkContext {
  // ---- the exchange ----
  ExchangeKind kind = ExchangeKind::None;
  ExchangeKind savedKind = ExchangeKind::None;  // resumed after an Identify step
  LinkState state = LinkState::Idle;

  // ---- receiving ----
  std::string receiveBuffer;   // the current reply line, without its CR
  bool lineComplete = false;   // a CR arrived
  std::string lastCommand;     // framed, without ">" and CR; resent on retries
  std::string heldReply;       // a status reply that identified the logger

  // ---- the logger ----
  char firmwareLetter = 'q';
  bool shortReply = false;     // identified with one character or a letter 'A'-'G'
  bool identified = false;
  bool statusRequestPending = false;

  // ---- time-outs and retries ----
  Ticks replyTimeout = 9;
  bool shortTimeout = false;   // configuration sends that get 9 ticks
  bool realTime = false;       // a real-time display or graph is running
  bool realTimeGraph = false;
  std::uint8_t retryCounter = 0;
  std::uint32_t badLineTotal = 0;   // of a download
  std::uint32_t timeoutTotal = 0;   // of a download
  bool timerExists = false;         // the port's timer trigger

  // ---- configuration send ----
  std::array<std::string, 4> configurationParts;
  std::uint8_t partCount = 0;
  std::uint8_t partNumber = 0;      // also the attempt counter of ChangeBaud
  std::int32_t configurationErrorCount = 0;
  std::int32_t configurationRetryCount = 0;
  std::string oddReplyLog;
  bool labelsOnly = false;          // "Change Scaling and/or Labels"

  // ---- other kinds ----
  std::uint32_t targetBaud = 0;         // ChangeBaud
  std::uint8_t newStationAddress = 0;   // StationAddressKind

  // ---- modems and unattended calls ----
  bool linkUp = false;                  // a modem call is connected
  std::int32_t autoAnswerCounter = 0;   // above 0 while an answered call is served
  std::int32_t modemReplyCount = 0;
  std::int32_t timer2Count = 0;

  // ---- flags shared with the status reply and the download ----
  bool scalingFailed = false;
  bool fileError = false;
  bool abortRequested = false;
  std::string dataFileName;             // the current data file name

  bool autoAnswerCall() const { return autoAnswerCounter > 0; }
};

}  // namespace brevik::link
