#pragma once
// The real-time display as kaldo shows it to a script: one CSV line per
// reading on standard output - the PC's numeric stamp, then the value text of
// each channel that is on - and what cannot be shown on standard error.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "common/clock.h"
#include "link/exchange_hooks.h"
#include "protocol/logger_status.h"
#include "protocol/reading_line.h"

namespace brevik::cli {

class ConsoleStatusSteps;

// One reading as a CSV line, without its line end (Windows-1252): the stamp
// as "MM/DD/YYYY,hh:mm:ss" (day first when `dayFirst`), then for every
// channel that is on its value text without padding ("OFF", "Open",
// "23.50 °C"); a text holding a comma or a quote is quoted.
std::string readingsCsvLine(const DateTime& now, bool dayFirst, const protocol::LoggerStatus& status,
                            const protocol::ReadingUpdate& reading);

class ConsoleReadings final : public link::ReadingsView {
 public:
  // Prints up to `count` readings (all of them without one), decoded with
  // the status that `steps` kept from the exchange's status reply.
  // `asJson`: one JSON object a line (json_documents.h) instead of CSV.
  ConsoleReadings(std::ostream& out, std::ostream& err, const Clock& clock, bool dayFirst, ConsoleStatusSteps& steps,
                  std::optional<std::uint64_t> count, bool asJson = false)
      : out_(out), err_(err), clock_(clock), dayFirst_(dayFirst), steps_(steps), count_(count), asJson_(asJson) {}

  void readingReceived(std::string_view line) override;
  void readingFailed(std::string_view text) override;
  void readingsEnded() override {}

  std::uint64_t printed() const { return printed_; }
  // Reading lines that came, printed or not.
  std::uint64_t arrivals() const { return arrivals_; }
  // The count is reached, or the run was interrupted: nothing more is printed.
  bool enough() const;

 private:
  std::ostream& out_;
  std::ostream& err_;
  const Clock& clock_;
  bool dayFirst_;
  ConsoleStatusSteps& steps_;
  std::optional<std::uint64_t> count_;
  bool asJson_;
  std::uint64_t printed_ = 0;
  std::uint64_t arrivals_ = 0;
};

}  // namespace brevik::cli
