#pragma once
// What the program around the link would do for the engine, recorded: log
// lines, quits and hang-ups.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/exchange_engine.h"

namespace brevik::testing {

class RecordingHost final : public link::ExchangeHost {
 public:
  void logEntry(std::string_view text) override { logEntries.emplace_back(text); }
  void logAndQuit(std::string_view text) override { quits.emplace_back(text); }
  void hangUpModem() override { ++modemHangUps; }
  void autoAnswerHangUp() override {
    ++autoAnswerHangUps;
    if (onAutoAnswerHangUp) onAutoAnswerHangUp();
  }
  void modemCallConnected() override { ++modemPanelsShown; }

  std::vector<std::string> logEntries;
  std::vector<std::string> quits;
  int modemHangUps = 0;
  int autoAnswerHangUps = 0;
  int modemPanelsShown = 0;
  // What the program does next (the auto-answer mode waits again).
  std::function<void()> onAutoAnswerHangUp;
};

}  // namespace brevik::testing
