#pragma once
// What sits at the far end of the PC's virtual line: a logger, a modem with a
// logger behind it, or a cable looped back. Bytes come in with the baud they
// were sent at and the time they finished arriving; bytes go out through the
// transmit callback, stamped with the time passed into the call that made
// them. advanceTo() is called when nextDeadline() falls due.

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "sim/sim_time.h"

namespace brevik::sim {

class LineDevice {
 public:
  using Transmit = std::function<void(std::string_view bytes, std::uint32_t baud, Micros at)>;

  virtual ~LineDevice() = default;

  virtual void setTransmit(Transmit transmit) = 0;
  virtual void receive(std::uint8_t byte, std::uint32_t senderBaud, Micros at) = 0;
  virtual void advanceTo(Micros now) = 0;
  virtual std::optional<Micros> nextDeadline() const = 0;
  // The baud it sends and listens at now (what a port of unknown speed is
  // taken to run at).
  virtual std::uint32_t baud() const = 0;
  // The PC's DTR line changed (a logger on a plain cable does not look).
  virtual void dtrChanged(bool /*raised*/, Micros /*at*/) {}
};

}  // namespace brevik::sim
