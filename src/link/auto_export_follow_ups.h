#pragma once
// The export that follows a download when AutoExport is on: the data file
// just written goes to a CSV file of the same name (without its directory)
// in the program home, with the stored export options.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "app/logger_settings.h"
#include "link/download_session.h"

namespace brevik::link {

class AutoExportFollowUps final : public DownloadFollowUps {
 public:
  // `tell` shows the user what became of the export (the CSV file's name, or
  // why it could not be written), in Windows-1252.
  AutoExportFollowUps(const app::LoggerSettings& settings, std::filesystem::path home,
                      std::function<void(std::string_view)> tell)
      : settings_(settings), home_(std::move(home)), tell_(std::move(tell)) {}

  Status exportDataFile(const std::string& dataFileName) override;
  // No graph window to open here; the desktop program brings its own.
  void showGraph(const std::string&) override {}

  // Where the export of a data file goes.
  std::filesystem::path csvPath(const std::string& dataFileName) const;

 private:
  const app::LoggerSettings& settings_;
  std::filesystem::path home_;
  std::function<void(std::string_view)> tell_;
};

}  // namespace brevik::link
