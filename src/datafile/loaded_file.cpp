#include "datafile/loaded_file.h"

#include <cstdio>

#include "protocol/vocabulary.h"

namespace brevik::datafile {

std::string batteryText(const LoadedFile& file) {
  if (file.tableForm || file.typeLineForm != TypeLineForm::Full || !(file.header.batteryVolts > 0.0f)) return {};
  char buf[32];
  std::snprintf(buf, sizeof buf, "Bat: %3.1f", static_cast<double>(file.header.batteryVolts));
  return buf;
}

std::string modelNameOf(const LoadedFile& file) {
  if (file.tableForm) return {};
  return protocol::modelName(file.header.modelCode, file.resolutionCode == protocol::kResolution12Bit,
                             file.resolutionCode == protocol::kResolution10Bit);
}

}  // namespace brevik::datafile
