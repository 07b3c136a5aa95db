#pragma once
// The setup window's dialog port for window tests: each dialog records how
// it was opened and answers from its script (nothing left: cancelled).

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/setup_dialogs.h"

namespace brevik::testing {

struct ScriptedSetupDialogs {
  // "linear 1 <item text>", "contact 2 <item text>", "table 4", "preset", "dialout".
  std::vector<std::string> opened;
  std::deque<std::optional<setup::ScalePair>> pairs;  // linear and contact answers
  std::deque<std::optional<std::string>> texts;       // chooser and date dialog answers

  ui::SetupDialogs port() {
    ui::SetupDialogs d;
    d.linearScale = [this](int channel, const std::string& item) {
      opened.push_back("linear " + std::to_string(channel) + " " + item);
      return nextPair();
    };
    d.contactScale = [this](int channel, const std::string& item) {
      opened.push_back("contact " + std::to_string(channel) + " " + item);
      return nextPair();
    };
    d.tableChooser = [this](int channel) {
      opened.push_back("table " + std::to_string(channel));
      return nextText();
    };
    d.presetStart = [this](setup::LoggerConfiguration&) {
      opened.push_back("preset");
      return nextText();
    };
    d.dialOut = [this](setup::LoggerConfiguration&) {
      opened.push_back("dialout");
      return nextText();
    };
    return d;
  }

  ScriptedSetupDialogs() = default;
  ScriptedSetupDialogs(const ScriptedSetupDialogs&) = delete;
  ScriptedSetupDialogs& operator=(const ScriptedSetupDialogs&) = delete;

 private:
  std::optional<setup::ScalePair> nextPair() {
    if (pairs.empty()) return std::nullopt;
    auto p = pairs.front();
    pairs.pop_front();
    return p;
  }
  std::optional<std::string> nextText() {
    if (texts.empty()) return std::nullopt;
    auto t = texts.front();
    texts.pop_front();
    return t;
  }
};

}  // namespace brevik::testing
