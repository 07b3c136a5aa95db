#include "program/auto_export_follow_ups.h"

#include "common/cp1252.h"
#include "program/auto_export.h"
#include "link/download_rules.h"

namespace brevik::program {

std::filesystem::path AutoExportFollowUps::csvPath(const std::string& dataFileName) const {
  return home_ / std::filesystem::path(toUtf8(link::autoExportCsvName(dataFileName)));
}

Status AutoExportFollowUps::exportDataFile(const std::string& dataFileName) {
  const std::filesystem::path csv = csvPath(dataFileName);
  const std::filesystem::path data = dataDirectory_ / std::filesystem::path(toUtf8(dataFileName));
  Status done = program::exportAfterDownload(data, csv, settings_, home_);
  if (tell_) tell_(done.ok() ? fromUtf8(csv.string()) + " saved to disk" : done.error().message, done.ok());
  return done;
}

}  // namespace brevik::program
