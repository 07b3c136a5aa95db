#include "link/download_header.h"

#include <cmath>

#include "graph/data_file_stamps.h"

namespace brevik::link {

graph::DataFileHeaderFields downloadHeaderFields(const protocol::LoggerStatus& s,
                                                 const DateTime& pcNow, bool twelveHourClock) {
  graph::DataFileHeaderFields f;
  f.referenceOhms = static_cast<int>(std::lround(s.referenceOhms));
  f.typeCodes = s.typeCodes;
  f.revision = s.revision;
  f.modelCode = s.modelCode;
  f.inputModes = s.inputModes;
  f.resolutionCode = s.resolutionCode;
  f.batteryVolts = s.batteryVolts;
  f.lastBank = s.bankLetter;
  f.first = s.firstReadingText;
  f.last = s.stopTimeText;
  f.transferred = s.clockText;
  f.pcTime = graph::formatFileStamp(pcNow, twelveHourClock);
  f.session = s.session;
  f.descriptions = s.descriptions;
  f.statusFlags = s.flags;
  f.rateCode = s.rateCode;
  f.channelBits = s.channelBits;
  f.memoryPointer = s.memoryPointer;
  f.phaseByte = s.phase;
  f.scalingTexts = s.channelRecords;
  return f;
}

}  // namespace brevik::link
