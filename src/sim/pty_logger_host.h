#pragma once
// A virtual logger (or what its profile puts at the far end: a modem, a
// looped-back cable) on a new pseudo-terminal, in real time, so that the real
// serial code of the program (QSerialPort) can talk to it: the program opens
// devicePath() like any serial device.
//
// Bytes travel as on a wire: each takes one character time (ten bits) at its sender's
// baud, in both directions. The program's baud is read from the terminal
// settings it gave the pty, which both ends share; what a receiver at another
// baud reads follows line_model.h (a line error cannot cross a pty and is
// lost). The host keeps the pty's slave end open itself, so that the program
// closing its port does not break the line for the next opening.
//
// POSIX only; elsewhere open() fails.

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "common/clock.h"
#include "common/result.h"
#include "sim/line_model.h"
#include "sim/logger_profile.h"
#include "sim/line_device.h"
#include "sim/sim_time.h"
#include "sim/wire_pacer.h"

namespace brevik::sim {

// What crossed the line, both ways: what a measurement of the link compares
// its elapsed time with.
struct LineTraffic {
  std::uint64_t bytesToTwin = 0;     // the program's bytes that reached the twin
  std::uint64_t bytesToProgram = 0;  // the twin's bytes handed to the program
  std::uint64_t linesToProgram = 0;  // CRs among them
  double wireSeconds = 0;            // every byte's character time at its sender's baud
};

class PtyLoggerHost {
 public:
  static Result<std::unique_ptr<PtyLoggerHost>> open(LoggerProfile profile, const DateTime& pcNow);
  ~PtyLoggerHost();
  PtyLoggerHost(const PtyLoggerHost&) = delete;
  PtyLoggerHost& operator=(const PtyLoggerHost&) = delete;

  // The device the program opens, e.g. /dev/pts/7.
  const std::string& devicePath() const { return devicePath_; }

  // Serves the line until `stop` holds (looked at every 20 ms at least).
  // Fails only when the pty itself fails.
  Status serve(const std::atomic<bool>& stop);

  // Read it once serve() has returned (it is kept by the serving thread).
  const LineTraffic& traffic() const { return traffic_; }

 private:
  struct Timed {
    Micros at;
    std::uint8_t byte;
    std::uint32_t baud;
  };

  PtyLoggerHost(LoggerProfile profile, const DateTime& pcNow, int master, int slave, std::string path);

  Micros now() const;
  std::uint32_t programBaud() const;
  void readFromProgram(bool wireFree);
  void dropProgramOutput();
  void runDue();
  void writeToProgram(std::uint8_t byte);
  void count(std::uint64_t& bytes, std::uint32_t baud);

  // The logger, or the modem before it, or a loop-back plug.
  std::unique_ptr<LineDevice> farEnd_;
  int master_ = -1;
  int slave_ = -1;
  std::string devicePath_;
  std::int64_t startNanos_ = 0;
  std::deque<Timed> toTwin_, toProgram_;
  WirePacer programWire_, twinWire_;
  LineReceiver programReceiver_;
  LineTraffic traffic_;
};

}  // namespace brevik::sim
