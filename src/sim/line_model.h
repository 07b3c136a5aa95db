#pragma once
// What a receiver makes of bytes sent at another baud.
//
// The model, chosen to be simple and to agree with what the logger's wake-up
// relies on:
// - Same baud on both ends: every byte arrives as sent.
// - Sender at least twice as fast: the receiver's start bit opens on the
//   first fast byte and everything the sender puts out during one receiver
//   character merges into a single received byte. Its value depends only on
//   the speed ratio, as the low start-bit level of the fast character is
//   smeared over more of the slow receiver's data bits: ratio 1 -> 0xFF,
//   2 -> 0xFE, 4 -> 0xF8, 8 -> 0x80, 16 and more -> 0x00 (a ratio between
//   two of these takes the lower one). No line error is reported.
// - Sender slower, or faster by less than twice: the receiver samples the
//   long start bit as data and a low stop bit; every sent byte arrives as
//   0x00 with a framing error.

#include <cstdint>
#include <optional>

#include "sim/sim_time.h"

namespace brevik::sim {

// The single byte a receiver at 1200 baud sees when a logger running at
// `baud` sends one character: 1200 -> 0xFF, 2400 -> 0xFE, 4800 -> 0xF8,
// 9600 -> 0x80, 19200 and faster -> 0x00. The twin sends exactly this value
// as its wake-up reply, so that a receiver at its own baud reads the same.
std::uint8_t wakeReplyByteFor(std::uint32_t baud);

// The merged value seen by a slower receiver (ratio = sender / receiver >= 2).
std::uint8_t mergedByteFor(std::uint32_t senderBaud, std::uint32_t receiverBaud);

struct SeenByte {
  std::uint8_t value = 0;
  bool lineError = false;
};

// One receiving end of the line. Feed it the bytes as they finish arriving
// (time = end of the sender's character); it tells what the receiver reads.
class LineReceiver {
 public:
  // Nothing when the byte merges into a character already being received.
  std::optional<SeenByte> receive(std::uint8_t byte, std::uint32_t senderBaud, std::uint32_t receiverBaud,
                                  Micros arrival);
  void reset() { busyUntil_ = -1; }

 private:
  Micros busyUntil_ = -1;  // end of the merged character being received
};

}  // namespace brevik::sim
