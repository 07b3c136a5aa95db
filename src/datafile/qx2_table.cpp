#include "datafile/qx2_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "common/bytes.h"
#include "datafile/data_file_stamps.h"
#include "datafile/display_series.h"
#include "datafile/loaded_file.h"
#include "protocol/time_stamps.h"

namespace brevik::datafile {

namespace {

// Characters `from` to `to` (1-based, inclusive) of a line, as far as it goes.
std::string_view columns(std::string_view line, std::size_t from, std::size_t to) {
  if (from == 0 || line.size() < from) return {};
  return line.substr(from - 1, to - from + 1);
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string padded(std::string_view s, std::size_t width) {
  std::string out(s.substr(0, std::min(s.size(), width)));
  out.resize(width, ' ');
  return out;
}

std::optional<double> parseNumber(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double v = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

bool contains(std::string_view s, std::string_view what) { return s.find(what) != std::string_view::npos; }

}  // namespace

bool LineCursor::next(std::string_view& line) {
  if (done_) return false;
  const std::size_t end = rest_.find_first_of("\r\n");
  if (end == std::string_view::npos) {
    done_ = true;
    if (rest_.empty()) return false;
    line = rest_;
    rest_ = {};
    return true;
  }
  line = rest_.substr(0, end);
  std::size_t skip = end + 1;
  if (rest_[end] == '\r' && skip < rest_.size() && rest_[skip] == '\n') ++skip;
  rest_.remove_prefix(skip);
  return true;
}

Result<TableHeading> parseTableHeading(std::span<const std::string_view> lines) {
  const auto line = [&](std::size_t n) { return n <= lines.size() ? lines[n - 1] : std::string_view{}; };
  if (columns(line(3), 2, 7) != "Source") return makeError(ErrorKind::InvalidData, std::string(kIncompatibleTableMessage));

  TableHeading h;
  h.session = padded(columns(line(4), 6, 36), 31);
  for (std::size_t k = 0; k < 4; ++k) h.descriptions[k] = padded(columns(line(5 + k), 15, 38), 24);
  const auto rate = parseNumber(columns(line(9), 15, 30));
  if (!rate || !(*rate > 0.0) || !std::isfinite(*rate))
    return makeError(ErrorKind::InvalidData,
                     "Sample Rate field is invalid: " + std::string(line(9)) + " - click Help for details");
  h.rate = *rate;
  h.milliseconds = protocol::numericStampNeedsMilliseconds(h.rate);
  h.first = std::string(trimmed(columns(line(10), 15, 40)));
  h.last = std::string(trimmed(columns(line(11), 15, 40)));

  const std::string_view heading = line(17);
  if (contains(heading, "Deg F")) h.fahrenheit = true;
  else if (contains(heading, "Deg C")) h.fahrenheit = false;
  if (contains(heading, "% RH")) h.humidityMode = protocol::HumidityMode::RelativeHumidity;
  else if (contains(heading, "Dew P")) h.humidityMode = protocol::HumidityMode::DewPoint;
  else if (contains(heading, "Wet B")) h.humidityMode = protocol::HumidityMode::WetBulb;
  for (int c = 1; c <= 4; ++c) {
    const std::string mark = "Ch" + std::to_string(c) + ":";
    const std::size_t at = heading.find(mark);
    if (at == std::string_view::npos) continue;
    h.channels.push_back(c);
    std::string_view unit = heading.substr(at + mark.size());
    unit = unit.substr(0, std::min(unit.find(','), unit.size()));
    h.unitTexts[static_cast<std::size_t>(c - 1)] = std::string(unit.substr(0, std::min<std::size_t>(unit.size(), 9)));
  }
  return h;
}

std::size_t parseTableRow(std::string_view row, bool milliseconds, std::span<float> out) {
  // The stamp is "mm/dd/yyyy,hh:mm:ss" (19 characters), with ",mmm" when the
  // rows carry milliseconds; the first value follows its separator.
  const std::size_t stamp = milliseconds ? 23 : 19;
  if (row.size() <= stamp + 1 || row[2] != '/' || row[5] != '/') return 0;
  std::string_view rest = row.substr(stamp + 1);
  std::size_t count = 0;
  while (count < out.size()) {
    const std::size_t begin = rest.find_first_not_of(", \t");
    if (begin == std::string_view::npos) break;
    rest.remove_prefix(begin);
    const std::size_t end = std::min(rest.find_first_of(", \t"), rest.size());
    const auto v = parseNumber(rest.substr(0, end));
    // A value no chart or sum can hold makes the line no row.
    if (!v || !std::isfinite(static_cast<float>(*v))) return 0;
    out[count++] = static_cast<float>(*v);
    rest.remove_prefix(end);
  }
  return count;
}

std::string tableOverflowMessage(std::string_view fileName) {
  return std::string(fileName) + " has 4% or more lines of data then calculated " +
         "from 'First' / 'Last' time stamps and " + "'Rate (mins)'.  " + "Lines at end of file were not loaded.";
}


}  // namespace brevik::datafile
