#pragma once
// A link driver in virtual time: events are the steps of VirtualTicks, one
// tick at a time, so a four-second wake-up costs nothing. The virtual logger
// of kaldo's `--port sim` and the tests' links run on it.

#include "link/link_driver.h"
#include "link/virtual_ticks.h"

namespace brevik::link {

class VirtualLinkDriver final : public LinkDriver {
 public:
  VirtualLinkDriver(SerialPort& port, VirtualTicks& ticks) : port_(port), ticks_(ticks) {}

  SerialPort& port() override { return port_; }
  TickScheduler& ticks() override { return ticks_; }
  bool runUntil(const std::function<bool()>& done, Ticks limit) override {
    for (Ticks i = 0; i < limit; ++i) {
      if (done()) return true;
      ticks_.advance(1);
    }
    return done();
  }

 private:
  SerialPort& port_;
  VirtualTicks& ticks_;
};

}  // namespace brevik::link
