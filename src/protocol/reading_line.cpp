#include "protocol/reading_line.h"

#include "protocol/status_decode.h"
#include "protocol/status_texts.h"

namespace brevik::protocol {

Result<ReadingUpdate> decodeReadingLine(std::string_view line, LoggerStatus& status, UnitConverter& converter) {
  bool ok = false;
  const DecodedReadings d = decodeReadingsField(line.substr(0, std::min(line.size(), kReadingsFieldLength)), status,
                                                true, ok);
  if (!ok) return makeError(ErrorKind::InvalidData, "Reading line not understood");
  status.raw = d.raw;
  if (!status.twelveBit) status.batteryReading = d.batteryReading;
  status.referenceOhms = d.referenceOhms;
  convertReadings(status, converter);
  ReadingUpdate u;
  u.raw = status.raw;
  u.values = status.values;
  u.batteryReading = d.batteryReading;
  u.referenceOhms = d.referenceOhms;
  for (int c = 1; c <= kChannelCount; ++c) u.texts[static_cast<std::size_t>(c - 1)] = channelValueText(status, c);
  return u;
}

}  // namespace brevik::protocol
