#pragma once
// A LinkView that keeps what the windows would show, plus the history of
// status texts, for assertions.

#include <optional>
#include <string>
#include <vector>

#include "link/link_view.h"

namespace brevik::testing {

class ScriptedLinkView final : public link::LinkView {
 public:
  void setStatusText(std::string_view text) override { statusTexts.emplace_back(text); }
  void setMeter(int percent) override { meter = percent; meterHistory.push_back(percent); }
  void setMeterVisible(bool v) override { meterVisible = v; }
  void setBlockCountVisible(bool v) override { blockCountVisible = v; }
  void setBlockCount(std::uint32_t b) override { blockCount = b; }
  void setDataFileText(std::string_view f) override { dataFileText = f; }
  void setAbortVisible(bool v) override { abortVisible = v; }
  void setAbortEnabled(bool e) override { abortEnabled = e; }
  void setStatusWindowShown(bool s) override { statusWindowShown = s; }
  void beep() override { ++beeps; }
  void setMainWindowEnabled(bool e) override { mainEnabled = e; }
  void setSetupWindowEnabled(bool e) override { setupEnabled = e; }
  void showMainWindow() override { ++mainWindowShown; }
  void closeStationAddressWindow() override { ++stationAddressWindowClosed; }
  void setIdentificationDigits(std::optional<link::IdentificationDigits> d) override {
    identificationDigits = d;
  }
  void setScheduleText(std::string_view t) override { scheduleText = t; }
  void showStatusDisplay() override { ++statusDisplayShown; }
  void setReadingError(std::string_view t) override { readingErrors.emplace_back(t); }
  void closeRealTimeDisplay() override { ++realTimeDisplayClosed; }

  std::string lastStatusText() const { return statusTexts.empty() ? "" : statusTexts.back(); }

  std::vector<std::string> statusTexts;
  int meter = -1;
  std::vector<int> meterHistory;
  bool meterVisible = false;
  bool blockCountVisible = false;
  std::uint32_t blockCount = 0;
  std::string dataFileText;
  bool abortVisible = false;
  bool abortEnabled = true;
  bool statusWindowShown = false;
  int beeps = 0;
  bool mainEnabled = true;
  bool setupEnabled = true;
  int mainWindowShown = 0;
  int stationAddressWindowClosed = 0;
  std::optional<link::IdentificationDigits> identificationDigits;
  std::string scheduleText;
  int statusDisplayShown = 0;
  std::vector<std::string> readingErrors;
  int realTimeDisplayClosed = 0;
};

}  // namespace brevik::testing
