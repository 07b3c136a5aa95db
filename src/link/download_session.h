#pragma once
// The memory download of a Receive exchange: block requests, the checks of
// each reply line, bank steps, recovery from bad lines and silence, and the
// end of the transfer (keep the file, export it, or drop it).
//
// The data go into a temporary file beside the data file; only a download
// that succeeded renames it over the data file. A failed or aborted download
// removes its own partial file and leaves an earlier file of that name as it
// was.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "common/clock.h"
#include "common/result.h"
#include "datafile/data_file_writer.h"
#include "link/download_rules.h"
#include "link/exchange_engine.h"
#include "link/exchange_hooks.h"
#include "link/exchange_observer.h"
#include "protocol/logger_status.h"

namespace brevik::link {

// What the program does with a data file once it is downloaded.
class DownloadFollowUps {
 public:
  virtual ~DownloadFollowUps() = default;
  // AutoExport: exports the file just written (its CSV name is
  // autoExportCsvName of it). A failure sets the file-error flag; the export
  // tells the user itself.
  virtual Status exportDataFile(const std::string& dataFileName) = 0;
  // "Trace Data?" answered Yes: the graph of the file.
  virtual void showGraph(const std::string& dataFileName) = 0;
};

enum class DownloadOutcome {
  NotFinished,
  Written,  // the data file is in place
  Failed,   // bad lines, silence or a file error: no file written
  Aborted,  // AbortBtn: no file written
};

class MemoryDownload final : public DownloadSession {
 public:
  MemoryDownload(ExchangeEngine& engine, ExchangeObserver& observer, const Clock& clock);
  ~MemoryDownload() override;
  MemoryDownload(const MemoryDownload&) = delete;
  MemoryDownload& operator=(const MemoryDownload&) = delete;

  void setFollowUps(DownloadFollowUps* followUps) { followUps_ = followUps; }
  // Where a data file name without a directory is written (empty: the
  // working directory).
  void setDataDirectory(std::filesystem::path directory) { dataDirectory_ = std::move(directory); }

  // The user chose the receive command: the elapsed time shown at the end
  // counts from here (from start() when this was not called).
  void startTransferTimer();

  // Creates the file for the context's data file name, writes the header
  // from `status`, and sends the first block request (state AwaitData). An
  // error (the file cannot be written) leaves nothing behind and starts
  // nothing.
  Status start(const protocol::LoggerStatus& status);

  // ---- DownloadSession ----
  void onLine(std::string_view line) override;
  void onTimeout() override;
  bool running() const override { return more_; }
  std::uint32_t blocksReceived() const override { return blockCount_; }
  void abort() override;

  std::uint32_t blockCount() const { return blockCount_; }
  DownloadOutcome outcome() const { return outcome_; }
  const DownloadCursor& cursor() const { return cursor_; }

 private:
  void requestBlock();
  void finish();
  void failTooManyBadLines();
  void finishAborted();
  void finishAnsweredCall();
  void finishCommandLine();
  void finishInteractive(long seconds);
  // Exports when AutoExport asks for it; a failure sets the file-error flag.
  void autoExport();
  // A write to the file failed: the transfer ends with that error.
  void failWrite(const Error& error);
  Status commitFile();
  void discardPartialFile();
  std::string sessionAndDescriptions() const;
  long elapsedSeconds() const;

  ExchangeEngine& engine_;
  ExchangeObserver& observer_;
  const Clock& clock_;
  DownloadFollowUps* followUps_ = nullptr;
  std::filesystem::path dataDirectory_;

  DownloadCursor cursor_;
  bool more_ = false;
  DownloadOutcome outcome_ = DownloadOutcome::NotFinished;
  std::uint32_t blockCount_ = 0;
  std::string previousLine_;
  std::string session_;
  std::array<std::string, 4> descriptions_;
  std::optional<DateTime> transferStart_;

  std::filesystem::path target_;
  std::filesystem::path partial_;
  std::optional<datafile::DataFileWriter> writer_;
};

}  // namespace brevik::link
