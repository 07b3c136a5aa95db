#include "datafile/data_file_from_status.h"

#include <cmath>

#include "protocol/time_stamps.h"

namespace brevik::datafile {

DataFileHeaderFields headerFieldsFromStatus(const protocol::LoggerStatus& status, const DateTime& pcNow,
                                            bool twelveHourClock) {
  DataFileHeaderFields f;
  f.referenceOhms = static_cast<int>(std::lround(status.referenceOhms));
  f.typeCodes = status.typeCodes;
  f.revision = status.revision;
  f.modelCode = status.modelCode;
  f.inputModes = status.inputModes;
  f.resolutionCode = status.resolutionCode;
  f.batteryVolts = status.batteryVolts;
  f.lastBank = status.bankLetter >= 'A' && status.bankLetter <= 'D' ? status.bankLetter : 'A';
  f.first = status.firstReadingText;
  f.last = status.isStopped() ? status.stopTimeText : status.clockText;
  f.transferred = status.clockText;
  f.pcTime = protocol::formatDisplayStamp(pcNow, twelveHourClock);
  f.session = status.session;
  for (std::size_t k = 0; k < f.descriptions.size(); ++k) {
    f.descriptions[k] = status.descriptions[k];
    f.scalingTexts[k] = status.channelRecords[k];
  }
  f.statusFlags = status.flags;
  f.rateCode = status.rateCode;
  f.channelBits = status.channelBits;
  f.memoryPointer = status.memoryPointer;
  f.phaseByte = status.phase;
  return f;
}

}  // namespace brevik::datafile
