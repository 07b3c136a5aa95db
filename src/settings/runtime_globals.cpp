#include "settings/runtime_globals.h"

#include "common/logger_memory.h"

namespace brevik::settings {

MemoryGeometry memoryGeometryOf(std::uint8_t lastModelCode) {
  // The code names a resolution only for the older one-bank loggers; the
  // model digits 5 and 6 wait for a status reply.
  const auto bank = memory::resolutionMemory(lastModelCode);
  if (!bank) return {};
  return {static_cast<std::uint32_t>(bank->bankReadings), static_cast<std::uint16_t>(bank->fullScale)};
}

RuntimeGlobals initialGlobals(const LoggerSettings& settings) {
  RuntimeGlobals g;
  g.currentDataFileName = settings.DataFileName;
  const MemoryGeometry geometry = memoryGeometryOf(settings.LastModelCode);
  g.memoryCapacity = geometry.capacity;
  g.fullScale = geometry.fullScale;
  return g;
}

}  // namespace brevik::settings
