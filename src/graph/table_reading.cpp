#include "graph/table_reading.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "datafile/data_file_stamps.h"
#include "datafile/qx2_table.h"
#include "protocol/time_stamps.h"

namespace brevik::graph {

Result<std::vector<std::string>> readTable(datafile::LoadedFile& file, datafile::DisplaySeries& series, std::string_view content) {
  datafile::LineCursor cursor(content);
  std::array<std::string_view, datafile::kTableHeadingLines> headingLines{};
  std::string_view line;
  for (std::size_t i = 0; i < datafile::kTableHeadingLines && cursor.next(line); ++i) headingLines[i] = line;
  auto heading = datafile::parseTableHeading(headingLines);
  if (!heading) return heading.error();
  datafile::TableHeading& h = *heading;

  file.tableForm = true;
  file.header.session = h.session;
  file.header.descriptions = h.descriptions;
  file.header.first = h.first;
  file.header.last = h.last;
  file.firstTime = datafile::parseFileStamp(h.first);
  file.lastTime = datafile::parseFileStamp(h.last);
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
  const std::size_t f = datafile::decimationFactor(budgetRows);
  const std::size_t group = f > 1 ? 2 * f : 1;
  series.factor = f;
  if (!file.zoomed) file.samplesInRange = static_cast<std::size_t>(file.rowsExpected);

  // Rows that are not rows (blank lines, damage) are passed over.
  std::array<float, 4> values{};
  std::size_t row = 0;  // rows read, counted from the file's first
  const auto nextRow = [&]() -> bool {
    while (cursor.next(line)) {
      if (datafile::parseTableRow(line, h.milliseconds, std::span(values).first(slots)) == slots && slots > 0) return true;
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
    if (p + (f > 1 ? 2 : 1) > datafile::kMaxPointsPerChannel) {
      // Points are full: anything left is more than the stamps promised.
      if (budget != 0 && nextRow()) notices.push_back(datafile::tableOverflowMessage(file.fileName.string()));
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
