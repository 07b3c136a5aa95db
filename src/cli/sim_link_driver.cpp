#include "cli/sim_link_driver.h"

#include "link/virtual_link_driver.h"
#include "link/virtual_ticks.h"
#include "sim/far_end.h"
#include "sim/virtual_serial_port.h"

namespace brevik::cli {

namespace {

class SimLinkDriver final : public link::LinkDriver {
 public:
  SimLinkDriver(sim::LoggerProfile profile, const DateTime& pcNow)
      : farEnd_(sim::makeFarEnd(std::move(profile), pcNow)), port_(ticks_), driver_(port_, ticks_) {
    port_.attach(*farEnd_);
  }

  link::SerialPort& port() override { return port_; }
  link::TickScheduler& ticks() override { return ticks_; }
  bool runUntil(const std::function<bool()>& done, link::Ticks limit) override {
    return driver_.runUntil(done, limit);
  }

 private:
  link::VirtualTicks ticks_;
  std::unique_ptr<sim::LineDevice> farEnd_;  // outlives the port, which holds it
  sim::VirtualSerialPort port_;
  link::VirtualLinkDriver driver_;
};

}  // namespace

std::unique_ptr<link::LinkDriver> makeSimLinkDriver(sim::LoggerProfile profile, const DateTime& pcNow) {
  return std::make_unique<SimLinkDriver>(std::move(profile), pcNow);
}

}  // namespace brevik::cli
