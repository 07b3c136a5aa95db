#pragma once
// A Hayes modem before the virtual logger, as the PC's side of it sees it.
//
// Command mode: each command line is echoed as it is typed (modem_echo) and
// read from its "AT" on (a line without one is noise and not answered);
// "AT" and "ATH" are answered "OK", "ATD[T|P]number" dials, any other line
// (the set-up string) gets the profile's set-up reply: "OK", "ERROR" or
// nothing. Dialling gives, a few seconds later, the connect line, "BUSY",
// "NO CARRIER", "NO ANSWER" or nothing, as the profile says; a number other
// than modem_number is not answered ("NO CARRIER").
//
// Data mode: bytes go to the logger of the call and its replies come back.
// "+++" with a second of quiet before and after returns to command mode
// with the call kept; "ATO" goes back on line, "ATH" hangs up. DTR dropping
// hangs up without a word (the PC is not listening). With modem_drop the
// carrier is lost after that many reply lines of the logger and the PC sees
// "NO CARRIER".
//
// Auto-answer (calls): the calls ring in one after the other, the first
// ring_after seconds after the start and each next one ring_after seconds
// after the previous call ended: "RING", then the connect line with a
// logger of the call's kind. A site modem set to answer ignores DTR, so the
// PC hangs these calls up with "+++" and "ATH".
//
// Every call gets a fresh logger from the profile. A profile with no logger
// keys and no calls is a bare modem: its calls have nobody at the far end.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/clock.h"
#include "sim/line_device.h"
#include "sim/logger_profile.h"
#include "sim/logger_twin.h"

namespace brevik::sim {

class VirtualModem final : public LineDevice {
 public:
  static constexpr Micros kGuardTime = kMicrosPerSecond;
  static constexpr Micros kReplyDelay = milliseconds(50);
  // From the dial command to the far end's answer (or the busy tone).
  static constexpr Micros kDialTime = 3 * kMicrosPerSecond;
  static constexpr Micros kRingToConnect = 2 * kMicrosPerSecond;
  static constexpr Micros kRingPeriod = 6 * kMicrosPerSecond;
  // Rings of a busy site before its caller gives up.
  static constexpr int kBusySiteRings = 3;
  static constexpr std::size_t kMaxCommandLength = 120;

  // `pcNow` stands in for the dates the profile leaves out of each logger.
  VirtualModem(LoggerProfile profile, const DateTime& pcNow);

  void setTransmit(Transmit transmit) override { transmit_ = std::move(transmit); }
  void receive(std::uint8_t byte, std::uint32_t senderBaud, Micros at) override;
  void advanceTo(Micros now) override;
  std::optional<Micros> nextDeadline() const override;
  void dtrChanged(bool raised, Micros at) override;
  std::uint32_t baud() const override { return dteBaud_; }

  bool callUp() const { return callUp_; }
  bool online() const { return callUp_ && online_; }
  // The logger of the current (or last) call; none for a bare modem or a
  // silent site.
  const LoggerTwin* logger() const { return logger_.get(); }
  std::size_t callsRung() const { return nextCall_; }

 private:
  struct Pending {
    Micros at;
    std::uint64_t order;
    std::function<void()> run;
  };

  void schedule(Micros at, std::function<void()> run);
  void send(std::string_view bytes, Micros at);
  void replyLine(const std::string& text, Micros at);
  void takeCommandByte(std::uint8_t byte, Micros at);
  void execute(const std::string& line);
  void dial(const std::string& number);
  void noteDataByte(std::uint8_t byte, Micros at);
  void startCall(const IncomingCall& call, bool incoming);
  void endCall();
  void loggerSent(std::string_view bytes, std::uint32_t baud, Micros at, std::uint64_t call);
  void ringNextCall(Micros at);
  void ring(std::size_t call, int ringsLeft);

  LoggerProfile profile_;
  DateTime pcNow_;
  Transmit transmit_;
  Micros now_ = 0;
  std::uint32_t dteBaud_;

  std::string command_;
  bool callUp_ = false;
  bool online_ = false;
  bool incomingCall_ = false;
  std::unique_ptr<LoggerTwin> logger_;
  int replies_ = 0;
  int dropAfter_ = 0;

  Micros lastPcByteAt_ = -10 * kMicrosPerSecond;
  int plusCount_ = 0;

  // Bumped to forget what was scheduled for an earlier dial, call or escape.
  std::uint64_t dialEpoch_ = 0, callEpoch_ = 0, escapeEpoch_ = 0;
  std::size_t nextCall_ = 0;

  std::vector<Pending> pending_;
  std::uint64_t nextOrder_ = 0;
};

}  // namespace brevik::sim
