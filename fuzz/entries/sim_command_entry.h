#pragma once
// Fuzz entry: what the virtual logger and the virtual modem make of the
// bytes a PC sends them. The first byte chooses: commands framed as the PC
// frames them (station address 00 and a good checksum, so every body
// reaches the command parser), the same lines sent raw, or bytes typed at
// a Hayes modem with a logger behind it.

#include <string>
#include <string_view>

#include "entry_support.h"
#include "sim/logger_twin.h"
#include "sim/virtual_modem.h"

namespace brevik::fuzzing {

inline std::string framedCommand(std::string_view body) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = std::string(body) + "00";
  unsigned sum = 0;
  for (const char c : text) sum += static_cast<unsigned char>(c);
  const unsigned check = (256 - sum % 256) % 256;
  return ">" + text + kDigits[check >> 4] + kDigits[check & 15] + "\r";
}

// Sends `bytes` to `device` at `baud`, one character time apart, then lets
// `settle` pass; returns how many bytes came back.
inline std::size_t sendTo(sim::LineDevice& device, std::string_view bytes, std::uint32_t baud, sim::Micros& now,
                          sim::Micros settle) {
  std::size_t answered = 0;
  device.setTransmit([&answered](std::string_view out, std::uint32_t, sim::Micros) { answered += out.size(); });
  for (const char c : bytes) {
    now += sim::characterTime(baud);
    device.receive(static_cast<std::uint8_t>(c), baud, now);
  }
  const sim::Micros until = now + settle;
  while (const auto next = device.nextDeadline()) {
    if (*next > until) break;
    now = std::max(now, *next);
    device.advanceTo(now);
  }
  now = until;
  device.advanceTo(now);
  return answered;
}

inline void sendToVirtualLogger(const std::uint8_t* data, std::size_t size) {
  std::string_view text = bytesAsText(data, size);
  if (text.empty()) return;
  const unsigned mode = static_cast<unsigned char>(text[0]) % 3;
  text.remove_prefix(1);
  const DateTime june{2003, 6, 3, 9, 5, 0, 0, 2};
  sim::LoggerProfile profile;
  profile.protocol = sim::WakeProtocol::Fast;
  profile.baud = 57600;
  sim::Micros now = 0;
  const auto lines = splitAt(text, '\r', 64);
  if (mode == 2) {
    profile.modem.hayes = true;
    sim::VirtualModem modem(profile, june);
    for (const std::string& line : lines)
      require(sendTo(modem, line + "\r", modem.baud(), now, sim::milliseconds(300)) < 64 * 1024);
    return;
  }
  sim::LoggerTwin twin(profile, june);
  sendTo(twin, std::string(5 * 48, '\x55'), 57600, now, sim::ticksToMicros(3));
  for (const std::string& line : lines) {
    const std::string bytes = mode == 0 ? framedCommand(line) : line + "\r";
    require(sendTo(twin, bytes, 57600, now, sim::milliseconds(400)) < 64 * 1024);
  }
}

}  // namespace brevik::fuzzing
