#pragma once
// The one entry point of the .QX2 reader fuzz target, shared with the
// GoogleTest smoke test that feeds it random and truncated tables.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "datafile/display_series.h"
#include "datafile/loaded_file.h"
#include "datafile/qx2_table.h"
#include "graph/table_reading.h"

namespace brevik::fuzzing {

// Reads `content` as a table: the whole of it, then a zoomed range whose
// start and length come from the first bytes, then each line as a row.
inline void readQx2Table(std::string_view content) {
  auto file = std::make_unique<datafile::LoadedFile>();
  auto series = std::make_unique<datafile::DisplaySeries>();
  file->fileName = "fuzz.QX2";
  const auto whole = graph::readTable(*file, *series, content);
  if (whole.ok() && series->points > datafile::kMaxPointsPerChannel) __builtin_trap();

  file->zoomed = true;
  file->rangeStart = content.empty() ? 0 : static_cast<unsigned char>(content[0]);
  file->samplesInRange = content.size() < 2 ? 3 : static_cast<unsigned char>(content[1]) * 40u;
  const auto zoomed = graph::readTable(*file, *series, content);
  if (zoomed.ok() && series->points > datafile::kMaxPointsPerChannel) __builtin_trap();

  datafile::LineCursor cursor(content);
  std::string_view line;
  std::array<float, 4> values{};
  while (cursor.next(line)) {
    (void)datafile::parseTableRow(line, false, values);
    (void)datafile::parseTableRow(line, true, values);
  }
}

}  // namespace brevik::fuzzing
