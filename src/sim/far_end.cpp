#include "sim/far_end.h"

#include "sim/logger_twin.h"
#include "sim/loopback_plug.h"
#include "sim/virtual_modem.h"

namespace brevik::sim {

std::unique_ptr<LineDevice> makeFarEnd(LoggerProfile profile, const DateTime& pcNow) {
  if (profile.modem.loopback) return std::make_unique<LoopbackPlug>(profile.baud);
  if (profile.modem.hayes) return std::make_unique<VirtualModem>(std::move(profile), pcNow);
  return std::make_unique<LoggerTwin>(std::move(profile), pcNow);
}

}  // namespace brevik::sim
