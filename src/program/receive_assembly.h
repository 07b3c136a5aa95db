#pragma once
// The download side of a receive, put together once for every program that
// runs one (brevik and kaldo receive): the memory download joined to the
// engine, what follows it (the export when AutoExport is on, the graph asked
// for by "Trace Data?"), and the start of the Receive exchange with its
// transfer timer.

#include <filesystem>
#include <string>

#include "settings/logger_settings.h"
#include "common/clock.h"
#include "common/result.h"
#include "program/auto_export_follow_ups.h"
#include "link/download_session.h"
#include "link/exchange_engine.h"
#include "link/exchange_observer.h"
#include "link/exchange_request.h"
#include "protocol/logger_status.h"

namespace brevik::program {

struct ReceivePlaces {
  std::filesystem::path home;           // where the automatic export's CSV file goes
  std::filesystem::path dataDirectory;  // where a data file name without directory is (empty: working directory)
};

class ReceiveAssembly {
 public:
  ReceiveAssembly(link::ExchangeEngine& engine, link::ExchangeObserver& observer, const Clock& clock, const settings::LoggerSettings& settings,
                  ReceivePlaces places, AutoExportFollowUps::Tell tell, AutoExportFollowUps::ShowGraph showGraph = {});
  // Leaves the engine without a download (an unfinished one drops its file).
  ~ReceiveAssembly();
  ReceiveAssembly(const ReceiveAssembly&) = delete;
  ReceiveAssembly& operator=(const ReceiveAssembly&) = delete;

  link::MemoryDownload& download() { return download_; }
  const link::MemoryDownload& download() const { return download_; }
  const AutoExportFollowUps& followUps() const { return followUps_; }

  // The status reply allowed the download: the file is created and the first
  // block requested.
  Status startDownload(const protocol::LoggerStatus& status) { return download_.start(status); }

  // The receive command: the transfer timer starts and a Receive exchange
  // into `dataFileName` (Windows-1252) opens, run as `run` says.
  void startReceive(const std::string& dataFileName, link::RunMode run, link::OutcomeCallback done);
  // The transfer timer alone, for a receive that opens its exchange itself.
  void startTransferTimer() { download_.startTransferTimer(); }

 private:
  link::ExchangeEngine& engine_;
  AutoExportFollowUps followUps_;
  link::MemoryDownload download_;
};

}  // namespace brevik::program
