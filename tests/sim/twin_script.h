#pragma once
// A scripted PC for byte-level tests of the virtual logger: bytes go in at a
// chosen baud, one character time apart; what the twin sends is collected
// with the baud it was sent at.

#include <string>
#include <string_view>
#include <vector>

#include "sim/logger_twin.h"

namespace brevik::sim::testing {

inline DateTime june3() {
  DateTime t;
  t.year = 2003;
  t.month = 6;
  t.day = 3;
  t.hour = 9;
  t.minute = 5;
  return t;
}

// ">" + body + [address] + checksum + CR, as the PC frames a command.
inline std::string frame(std::string_view body, int address = -1) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(body);
  if (address >= 0) {
    text += kDigits[(address >> 4) & 15];
    text += kDigits[address & 15];
  }
  unsigned sum = 0;
  for (const char c : text) sum += static_cast<unsigned char>(c);
  const unsigned check = (256 - sum % 256) % 256;
  return ">" + text + kDigits[check >> 4] + kDigits[check & 15] + "\r";
}

struct SentByte {
  char byte;
  std::uint32_t baud;
  Micros at;
};

class ScriptedPc {
 public:
  explicit ScriptedPc(LoggerProfile profile) : twin(std::move(profile), june3()) {
    twin.setTransmit([this](std::string_view bytes, std::uint32_t baud, Micros at) {
      for (const char c : bytes) sent.push_back(SentByte{c, baud, at});
    });
  }

  void send(std::string_view bytes, std::uint32_t baud) {
    for (const char c : bytes) {
      now += characterTime(baud);
      twin.receive(static_cast<std::uint8_t>(c), baud, now);
    }
  }
  void burst(char byte, std::size_t run, std::size_t runs, std::uint32_t baud) {
    send(std::string(run * runs, byte), baud);
  }
  void wait(Micros span) {
    now += span;
    twin.advanceTo(now);
  }
  // Sends a command and waits long enough for any reply.
  std::string ask(std::string_view framed, std::uint32_t baud, Micros span = 200 * 1000) {
    send(framed, baud);
    wait(span);
    return take();
  }
  // Everything sent since the last take().
  std::string take() {
    std::string bytes;
    for (const auto& b : sent) bytes.push_back(b.byte);
    sent.clear();
    return bytes;
  }

  LoggerTwin twin;
  std::vector<SentByte> sent;
  Micros now = 0;
};

}  // namespace brevik::sim::testing
