#pragma once
// What follows a download: the export when AutoExport is on - the data file
// just written goes to a CSV file of the same name (without its directory)
// in the program home, with the stored export options - and the graph when
// "Trace Data?" is answered Yes.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "settings/logger_settings.h"
#include "link/download_session.h"

namespace brevik::program {

class AutoExportFollowUps final : public link::DownloadFollowUps {
 public:
  // `tell` shows the user what became of the export (the CSV file's name, or
  // why it could not be written), in Windows-1252, and whether it was written.
  using Tell = std::function<void(std::string_view text, bool exported)>;
  using ShowGraph = std::function<void(const std::string& dataFileName)>;

  AutoExportFollowUps(const settings::LoggerSettings& settings, std::filesystem::path home, Tell tell,
                      ShowGraph showGraph = {})
      : settings_(settings), home_(std::move(home)), tell_(std::move(tell)), showGraph_(std::move(showGraph)) {}

  // Where a data file name without a directory is (as the download's).
  void setDataDirectory(std::filesystem::path directory) { dataDirectory_ = std::move(directory); }

  Status exportDataFile(const std::string& dataFileName) override;
  void showGraph(const std::string& dataFileName) override {
    if (showGraph_) showGraph_(dataFileName);
  }

  // Where the export of a data file goes.
  std::filesystem::path csvPath(const std::string& dataFileName) const;

 private:
  const settings::LoggerSettings& settings_;
  std::filesystem::path home_;
  std::filesystem::path dataDirectory_;
  Tell tell_;
  ShowGraph showGraph_;
};

}  // namespace brevik::program
