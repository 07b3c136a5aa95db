#pragma once
// An ExchangeObserver that keeps what the communication status window would
// show, plus the history of its step texts and meter, for assertions.

#include <string>
#include <vector>

#include "link/exchange_observer.h"

namespace brevik::testing {

class ScriptedObserver final : public link::ExchangeObserver {
 public:
  void exchangeStarted(const link::ExchangeDisplay& d) override {
    ++starts;
    display = d;
    blocks = 0;
    statusWindowShown = true;
  }
  void stepText(std::string_view text) override { statusTexts.emplace_back(text); }
  void meter(int percent) override {
    lastMeter = percent;
    meterHistory.push_back(percent);
  }
  void blockCount(std::uint32_t b) override { blocks = b; }
  void abortAvailable(bool a) override { abortVisible = a; }
  void exchangeEnded() override {
    ++ends;
    statusWindowShown = false;
  }
  void downloadFinished() override { ++beeps; }

  std::string lastStatusText() const { return statusTexts.empty() ? "" : statusTexts.back(); }

  int starts = 0;
  int ends = 0;
  link::ExchangeDisplay display;
  std::vector<std::string> statusTexts;
  int lastMeter = -1;
  std::vector<int> meterHistory;
  std::uint32_t blocks = 0;
  bool abortVisible = false;
  bool statusWindowShown = false;
  int beeps = 0;
};

}  // namespace brevik::testing
