#include "settings/runtime_globals.h"

namespace brevik::settings {

MemoryGeometry memoryGeometryOf(std::uint8_t lastModelCode) {
  switch (lastModelCode) {
    case 1: return {32256, 255};
    case 2: return {25800, 1023};
    case 3: return {21504, 4095};
    default: return {};
  }
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
