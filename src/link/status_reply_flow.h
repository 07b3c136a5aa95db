#pragma once
// What follows a status reply: the reply is decoded and shown, and the
// exchange goes on by its kind: the dial-out schedule for a status read,
// the readings for a real-time display, the download (after its pre-check)
// for a receive, and a fresh receive exchange when an answered call began
// with a plain status read.

#include <optional>
#include <string>
#include <string_view>

#include "common/result.h"
#include "link/exchange_engine.h"
#include "protocol/logger_status.h"
#include "protocol/status_decode.h"

namespace brevik::link {

// The program's side of reply processing: decoding with its settings, clock
// and tables; the status form; the files; the download.
class StatusReplySteps {
 public:
  virtual ~StatusReplySteps() = default;
  // Decodes the reply and applies the settings it changes (LastRevision,
  // LastModelCode); a table failure is reported by the flow.
  virtual protocol::StatusDecodeResult decode(std::string_view reply) = 0;
  virtual void fillStatusForm(const protocol::LoggerStatus& status) = 0;
  virtual void showStatusForm() = 0;
  // The CSV file of a command-line CSV receive, if that is the mode.
  virtual std::optional<std::string> csvFileName() const = 0;
  // Appends the readings line (date, time and the channel values) to it.
  virtual Status appendReadingsLine(const std::string& fileName,
                                    const protocol::LoggerStatus& status) = 0;
  // Names the data file of an answered call and stores the counter.
  virtual std::string autoAnswerFileName(const protocol::LoggerStatus& status) = 0;
  // Writes the data file header and starts the download (state AwaitData,
  // first block request); an error is reported and the exchange ended.
  virtual Status startDownload(const protocol::LoggerStatus& status) = 0;
};

class StatusReplyFlow final : public StatusReplyHandler {
 public:
  StatusReplyFlow(ExchangeEngine& engine, StatusReplySteps& steps)
      : engine_(engine), steps_(steps) {}

  void processStatusReply(std::string_view reply) override;

  const std::optional<protocol::LoggerStatus>& lastStatus() const { return lastStatus_; }

  // Ticks between an answered call found empty and the start of Timer2.
  static constexpr Ticks kEmptyCallPause = 18;

 private:
  void onRejected(std::string_view reply);
  void startRealTime(const protocol::LoggerStatus& status);
  void requestSchedule(const protocol::LoggerStatus& status);
  void precheckAndDownload(const protocol::LoggerStatus& status);

  ExchangeEngine& engine_;
  StatusReplySteps& steps_;
  std::optional<protocol::LoggerStatus> lastStatus_;
  int rejections_ = 0;
};

}  // namespace brevik::link
