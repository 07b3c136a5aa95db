#pragma once
// Where an exchange runs: a serial port, the tick scheduler that drives it,
// and the loop that delivers their events. The program runs exchanges inside
// its window loop; kaldo drives one exchange at a time through this,
// in virtual time against the built-in virtual logger or in real time on a
// device.

#include <functional>

#include "link/serial_port.h"
#include "link/tick_scheduler.h"

namespace brevik::link {

class LinkDriver {
 public:
  virtual ~LinkDriver() = default;
  virtual SerialPort& port() = 0;
  virtual TickScheduler& ticks() = 0;
  // Delivers events until `done()` holds (looked at after every event) or
  // `limit` ticks have passed; true when done.
  virtual bool runUntil(const std::function<bool()>& done, Ticks limit) = 0;
};

}  // namespace brevik::link
