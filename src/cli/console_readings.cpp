#include "cli/console_readings.h"

#include "cli/console_status_steps.h"
#include "cli/json_documents.h"
#include "cli/status_printing.h"
#include "cli/stop_request.h"
#include "protocol/time_stamps.h"

namespace brevik::cli {

namespace {

std::string withoutPadding(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A unit text comes from the channel's description, which may hold anything.
std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string readingsCsvLine(const DateTime& now, bool dayFirst, const protocol::LoggerStatus& status,
                            const protocol::ReadingUpdate& reading) {
  std::string line = protocol::formatNumericStamp(now, protocol::NumericStampStyle{dayFirst, true, false});
  for (int channel = 1; channel <= protocol::kChannelCount; ++channel) {
    if (!status.channelOn(channel)) continue;
    line += ',';
    line += csvField(withoutPadding(reading.texts[static_cast<std::size_t>(channel - 1)]));
  }
  return line;
}

bool ConsoleReadings::enough() const { return (count_ && printed_ >= *count_) || stopRequested(); }

void ConsoleReadings::readingReceived(std::string_view line) {
  ++arrivals_;
  if (enough()) return;
  protocol::LoggerStatus* status = steps_.readingStatus();
  protocol::UnitConverter* converter = steps_.readingConverter();
  if (!status || !converter) return;
  const auto reading = protocol::decodeReadingLine(line, *status, *converter);
  if (!reading) {
    err_ << "  reading not understood: " << consoleText(line) << "\n" << std::flush;
    return;
  }
  if (asJson_)
    json::printLine(out_, json::readingDocument(clock_.now(), dayFirst_, *status, *reading));
  else
    out_ << consoleText(readingsCsvLine(clock_.now(), dayFirst_, *status, *reading)) << "\n" << std::flush;
  ++printed_;
}

void ConsoleReadings::readingFailed(std::string_view text) {
  ++arrivals_;
  if (!enough()) err_ << "  " << consoleText(text) << "\n" << std::flush;
}

}  // namespace brevik::cli
