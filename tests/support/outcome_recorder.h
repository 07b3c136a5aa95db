#pragma once
// The outcomes an exchange engine delivers, kept in order, and what the
// real-time display was told.

#include <string>
#include <vector>

#include "link/exchange_hooks.h"
#include "link/exchange_request.h"

namespace brevik::testing {

struct OutcomeRecorder {
  std::vector<link::ExchangeOutcome> outcomes;

  link::OutcomeCallback callback() {
    return [this](const link::ExchangeOutcome& o) { outcomes.push_back(o); };
  }
  // The last outcome; an empty one (kind None) before any.
  const link::ExchangeOutcome& last() const {
    static const link::ExchangeOutcome none;
    return outcomes.empty() ? none : outcomes.back();
  }
  std::string scheduleText() const { return last().scheduleText.value_or(""); }
};

// The real-time display's readings, as lines with their checksum checked.
class ReadingsRecorder final : public link::ReadingsView {
 public:
  void readingReceived(std::string_view line) override { lines.emplace_back(line); }
  void readingFailed(std::string_view text) override { failures.emplace_back(text); }
  void readingsEnded() override { ++ended; }
  std::vector<std::string> lines;
  std::vector<std::string> failures;
  int ended = 0;
};

}  // namespace brevik::testing
