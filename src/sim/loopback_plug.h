#pragma once
// A cable whose far end is looped back: every byte the PC sends comes
// straight back (the com test's "AT" answered by itself).

#include "sim/line_device.h"

namespace brevik::sim {

class LoopbackPlug final : public LineDevice {
 public:
  explicit LoopbackPlug(std::uint32_t baud) : baud_(baud) {}

  void setTransmit(Transmit transmit) override { transmit_ = std::move(transmit); }
  void receive(std::uint8_t byte, std::uint32_t senderBaud, Micros at) override {
    const char c = static_cast<char>(byte);
    if (transmit_) transmit_(std::string_view(&c, 1), senderBaud, at);
  }
  void advanceTo(Micros) override {}
  std::optional<Micros> nextDeadline() const override { return std::nullopt; }
  std::uint32_t baud() const override { return baud_; }

 private:
  std::uint32_t baud_;
  Transmit transmit_;
};

}  // namespace brevik::sim
