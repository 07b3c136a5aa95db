#pragma once
// When each byte of a run finishes crossing the wire: ten bit times per byte
// (start, eight data bits, stop) at the sender's baud, counted from the start
// of the run so that rounding to whole microseconds never accumulates. At
// 57600 baud a byte takes 173.6 us; adding a rounded 174 us per byte would
// stretch a 20,000-byte download by 8 ms.

#include <cstdint>

#include "sim/sim_time.h"

namespace brevik::sim {

class WirePacer {
 public:
  // When the wire is free again: the end of the last byte.
  Micros freeAt() const { return freeAt_; }

  // The end of a byte handed over at `at`: right after the previous byte
  // while the wire is still busy, else a character time after `at`.
  Micros next(Micros at, std::uint32_t baud) {
    if (count_ == 0 || at > freeAt_ || baud != baud_) {
      runStart_ = count_ == 0 ? at : (at > freeAt_ ? at : freeAt_);
      runBytes_ = 0;
      baud_ = baud;
    }
    ++count_;
    ++runBytes_;
    freeAt_ = baud == 0 ? runStart_ : runStart_ + bitTimes(runBytes_ * 10, baud);
    return freeAt_;
  }

  // The wire was idle: the next byte starts a run at `at` however the last
  // one ended (a sender that paused does not catch up on the time lost).
  void restartAt(Micros at) {
    freeAt_ = at;
    runStart_ = at;
    runBytes_ = 0;
  }

 private:
  static Micros bitTimes(std::uint64_t bits, std::uint32_t baud) {
    return static_cast<Micros>((bits * static_cast<std::uint64_t>(kMicrosPerSecond) + baud - 1) / baud);
  }

  Micros freeAt_ = 0;
  Micros runStart_ = 0;
  std::uint64_t runBytes_ = 0;
  std::uint64_t count_ = 0;
  std::uint32_t baud_ = 0;
};

}  // namespace brevik::sim
