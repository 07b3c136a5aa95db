#pragma once
// The virtual logger at byte level: bytes come in with the baud they were
// sent at and the time they finished arriving; bytes go out through a
// callback with the baud the twin sends at. The twin knows nothing of how
// bytes travel, so the in-process virtual line (virtual_serial_port.h) and a
// pseudo-terminal host can both drive it.
//
// Driving it: call receive() for every byte, in time order; call advanceTo()
// when nextDeadline() falls due (delayed replies, identification, streamed
// readings, going back to sleep). Output is only ever produced from inside
// these two calls, stamped with the time passed in.
//
// Behaviour, as the PC sees it:
// - Asleep, the logger notices line activity at any baud. Five bytes of it
//   wake it enough to listen for commands at its own baud (the fast wake-up,
//   and the short burst before a baud change). A normal-protocol logger that
//   sees 1.5 s of continuous activity (gaps under 100 ms) answers the wake-up:
//   one byte at its own baud (the value a 1200-baud receiver reads for it,
//   see line_model.h) and then waits for the baud switch; or, old loggers, an
//   "R" line at 1200 once the line has been quiet for 100 ms after the
//   burst, and then the baud letter at 1200.
// - The baud switch is 0xC0 or 0x80 at the logger's baud, the seven bytes
//   00 E0 FF FF FF 00 00 at its baud, or "E" sent at 1200. 165 ms (3 ticks)
//   later the identification line follows (none when the profile's is empty).
// - Commands: ">" + body + [address] + checksum + CR at the logger's baud.
//   A bad checksum, a garbled byte or another station's address gets no
//   answer; address 00 is answered by every logger. Firmware below 'S' takes
//   frames without an address.
// - Replies follow 20 ms after the command's CR (the profile's `reply_delay`).
// - Memory requests "D" + bank + address (0x0200 and up) are answered with
//   a line of memory (memory_image.h) and its checksum.
// - Thirty seconds without a byte put an awake logger back to sleep (not
//   while it streams readings); a wake-up burst stops a stream.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/fault_generator.h"
#include "sim/line_device.h"
#include "sim/logger_profile.h"
#include "sim/logger_state.h"
#include "sim/sim_time.h"

namespace brevik::sim {

class LoggerTwin final : public LineDevice {
 public:

  enum class Phase { Asleep, Awake, AwaitBaudSwitch, AwaitBaudLetter };

  // The timing of the behaviour above.
  static constexpr int kAlertBytes = 5;
  static constexpr Micros kActivityGap = milliseconds(100);
  static constexpr Micros kNormalWakeActivity = milliseconds(1500);
  static constexpr Micros kIdentDelay = ticksToMicros(3);
  static constexpr Micros kStreamPeriod = kMicrosPerSecond;
  static constexpr Micros kIdleSleep = 30 * kMicrosPerSecond;
  static constexpr std::size_t kMaxCommandLength = 200;
  // Characters of a 12-bit memory line cut short (checksum included).
  static constexpr std::size_t kShortMemoryLine = 158;

  // `pcNow` stands in for the dates the profile leaves out.
  LoggerTwin(LoggerProfile profile, const DateTime& pcNow);

  void setTransmit(Transmit transmit) override { transmit_ = std::move(transmit); }
  // Replaces the profile's faults from now on (a run that is to fail only
  // part of the way through).
  void setFaults(const std::array<double, kFaultKindCount>& rates, std::uint64_t seed) {
    faults_ = FaultGenerator(rates, seed);
  }

  void receive(std::uint8_t byte, std::uint32_t senderBaud, Micros at) override;
  void advanceTo(Micros now) override;
  std::optional<Micros> nextDeadline() const override;

  Phase phase() const { return phase_; }
  bool streaming() const { return streaming_; }
  std::uint32_t baud() const override { return baud_; }
  const LoggerProfile& profile() const { return profile_; }
  const LoggerState& state() const { return state_; }
  LoggerState& state() { return state_; }

 private:
  struct Pending {
    Micros at;
    std::uint64_t order;
    std::function<void()> run;
  };

  bool takeBaudSwitch(std::uint8_t byte, std::uint32_t senderBaud);
  bool takeBaudLetter(std::uint8_t byte, std::uint32_t senderBaud);
  bool takeCommandByte(std::uint8_t byte, std::uint32_t senderBaud);
  void noteActivity(std::uint32_t senderBaud, Micros at);
  void answerWakeUp();
  void answerWhenQuiet();
  void baudSwitched();
  void sendIdentification();
  void execute(const std::string& text);
  // Sends a reply line (prefix + text [+ checksum] + CR) after the reply
  // delay, with whatever faults strike it.
  void reply(std::string text, bool checksummed, bool isStatus, std::string_view prefix = {});
  // A memory line (hex digits, the checksum added here) with the faults
  // that strike it.
  void replyMemoryLine(const std::string& digits);
  void sendLater(std::string bytes);
  void streamNextReading();
  void schedule(Micros at, std::function<void()> run);
  void send(std::string_view bytes);
  bool revisionAtLeast(char needed) const;

  Micros replyDelay() const { return milliseconds(profile_.replyDelayMs); }

  LoggerProfile profile_;
  LoggerState state_;
  FaultGenerator faults_;
  Transmit transmit_;
  Phase phase_ = Phase::Asleep;
  std::uint32_t baud_;
  Micros now_ = 0;

  // Line activity (wake-up detection).
  Micros runStart_ = 0;
  Micros activityEnd_ = -kMicrosPerSecond;
  int runBytes_ = 0;
  bool answeredThisRun_ = false;
  Micros lastByteAt_ = 0;

  std::size_t switchMatch_ = 0;  // bytes of the seven-byte switch seen so far
  bool inCommand_ = false;
  std::string command_;
  bool streaming_ = false;

  std::vector<Pending> pending_;
  std::uint64_t nextOrder_ = 0;
};

}  // namespace brevik::sim
