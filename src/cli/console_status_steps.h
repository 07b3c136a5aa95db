#pragma once
// What follows a status reply when kaldo reads a status: the reply is decoded
// with the home's settings and tables and kept for printing. kaldo neither
// downloads nor writes files from a status read, and saves no settings.

#include <filesystem>
#include <optional>
#include <string>

#include "settings/logger_settings.h"
#include "common/clock.h"
#include "link/status_reply_flow.h"
#include "protocol/conversions.h"
#include "protocol/logger_status.h"

namespace brevik::cli {

class ConsoleStatusSteps final : public link::StatusReplySteps {
 public:
  ConsoleStatusSteps(settings::LoggerSettings& settings, std::filesystem::path home, const Clock& clock)
      : settings_(settings), home_(std::move(home)), clock_(clock) {}

  protocol::StatusDecodeResult decode(std::string_view reply) override;
  void fillStatusForm(const protocol::LoggerStatus& status) override { status_ = status; }
  void showStatusForm() override {}
  std::optional<std::string> csvFileName() const override { return std::nullopt; }
  Status appendReadingsLine(const std::string& fileName, const protocol::LoggerStatus& status) override;
  std::string autoAnswerFileName(const protocol::LoggerStatus& status) override;
  Status startDownload(const protocol::LoggerStatus& status) override;

  // The status the form would show, once a reply was decoded.
  const std::optional<protocol::LoggerStatus>& status() const { return status_; }
  // The status and converter of the last accepted reply, as its decode left
  // them: the readings of a real-time exchange are decoded with them (and
  // update them).
  protocol::LoggerStatus* readingStatus() { return readingStatus_ ? &*readingStatus_ : nullptr; }
  protocol::UnitConverter* readingConverter() { return converter_ ? &*converter_ : nullptr; }

 private:
  settings::LoggerSettings& settings_;
  std::filesystem::path home_;
  const Clock& clock_;
  std::optional<protocol::LoggerStatus> status_;
  std::optional<protocol::LoggerStatus> readingStatus_;
  std::optional<protocol::UnitConverter> converter_;
};

}  // namespace brevik::cli
