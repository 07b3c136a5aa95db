#include "graph/qx2_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "common/bytes.h"
#include "graph/data_file_stamps.h"
#include "graph/display_series.h"
#include "graph/loaded_file.h"
#include "protocol/time_stamps.h"

namespace brevik::graph {

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

Result<std::vector<std::string>> readTable(LoadedFile& file, DisplaySeries& series, std::string_view content) {
  LineCursor cursor(content);
  std::array<std::string_view, kTableHeadingLines> headingLines{};
  std::string_view line;
  for (std::size_t i = 0; i < kTableHeadingLines && cursor.next(line); ++i) headingLines[i] = line;
  auto heading = parseTableHeading(headingLines);
  if (!heading) return heading.error();
  TableHeading& h = *heading;

  file.tableForm = true;
  file.header.session = h.session;
  file.header.descriptions = h.descriptions;
  file.header.first = h.first;
  file.header.last = h.last;
  file.firstTime = parseFileStamp(h.first);
  file.lastTime = parseFileStamp(h.last);
  file.rate = h.rate;
  file.channels = h.channels;
  for (std::size_t k = 0; k < 4; ++k) file.unitTexts[k] = h.unitTexts[k];
  file.temperatureUnitsFixed = h.fahrenheit.has_value();
  file.humidityModeFixed = h.humidityMode.has_value();
  if (h.fahrenheit) file.converter.setSettings({*h.fahrenheit, file.converter.settings().humidityMode});
  if (h.humidityMode) file.converter.setSettings({file.converter.settings().fahrenheit, *h.humidityMode});

  series.clear();
  const std::size_t slots = std::min<std::size_t>(h.channels.size(), 4);
  if (!file.zoomed) {
    file.endNotClipped = true;
    file.span = (file.firstTime && file.lastTime)
                    ? static_cast<float>(protocol::minutesBetween(*file.firstTime, *file.lastTime))
                    : 0.0f;
    const double k = (file.rate > 0.025 && file.rate < 0.125) ? 1.35 : 1.04;
    file.rowsExpected = std::max<long long>(0, std::llround(static_cast<double>(file.span) * k / file.rate));
  }
  const std::size_t budgetRows = file.zoomed ? file.samplesInRange : static_cast<std::size_t>(file.rowsExpected);
  const std::size_t f = decimationFactor(budgetRows);
  const std::size_t group = f > 1 ? 2 * f : 1;
  series.factor = f;
  if (!file.zoomed) file.samplesInRange = static_cast<std::size_t>(file.rowsExpected);

  // Rows that are not rows (blank lines, damage) are passed over.
  std::array<float, 4> values{};
  std::size_t row = 0;  // rows read, counted from the file's first
  const auto nextRow = [&]() -> bool {
    while (cursor.next(line)) {
      if (parseTableRow(line, h.milliseconds, std::span(values).first(slots)) == slots && slots > 0) return true;
    }
    return false;
  };
  if (file.zoomed)
    for (std::size_t i = 0; i < file.rangeStart && nextRow(); ++i) ++row;

  long long budget = file.zoomed ? static_cast<long long>(file.samplesInRange) : -1;
  std::vector<std::string> notices;
  std::size_t p = 0;
  bool more = true;
  while (more) {
    if (p + (f > 1 ? 2 : 1) > kMaxPointsPerChannel) {
      // Points are full: anything left is more than the stamps promised.
      if (budget != 0 && nextRow()) notices.push_back(tableOverflowMessage(file.fileName.string()));
      break;
    }
    std::array<float, 4> hi{}, lo{};
    std::array<std::size_t, 4> hiRow{}, loRow{};
    std::size_t taken = 0;
    while (taken < group) {
      if (budget == 0 || !nextRow()) {
        more = false;
        break;
      }
      if (budget > 0) --budget;
      for (std::size_t j = 0; j < slots; ++j) {
        if (taken == 0 || values[j] > hi[j]) {
          hi[j] = values[j];
          hiRow[j] = row;
        }
        if (taken == 0 || values[j] < lo[j]) {
          lo[j] = values[j];
          loRow[j] = row;
        }
      }
      ++row;
      ++taken;
    }
    if (taken == 0) break;
    for (std::size_t j = 0; j < slots; ++j) {
      const bool first = p == 0;
      if (f == 1) {
        series.at(j, p) = hi[j];
      } else {
        const bool minimumFirst = loRow[j] < hiRow[j];
        series.at(j, p) = minimumFirst ? lo[j] : hi[j];
        series.at(j, p + 1) = minimumFirst ? hi[j] : lo[j];
      }
      if (first || hi[j] > series.largest[j]) {
        series.largest[j] = hi[j];
        series.largestIndex[j] = hiRow[j];
      }
      if (first || lo[j] < series.smallest[j]) {
        series.smallest[j] = lo[j];
        series.smallestIndex[j] = loRow[j];
      }
    }
    p += f > 1 ? 2 : 1;
  }
  series.points = p;
  return notices;
}

}  // namespace brevik::graph
