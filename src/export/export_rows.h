#pragma once
// The data rows of an export: a numeric time stamp, then the value of each
// active channel. Rows come from raw counts (converted here, every point or
// averages of N samples) or from the rows of a table-form file (copied, or
// re-averaged). Writing a row allocates nothing beyond the sink's buffer.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "common/clock.h"
#include "export/export_options.h"
#include "export/export_sink.h"
#include "protocol/conversions.h"

namespace brevik::exporting {

// A run of sample sets of one memory image.
struct ImageSpan {
  const std::vector<std::vector<std::uint16_t>>* samples = nullptr;  // [slot][k]
  std::size_t firstIndex = 0;  // first sample set exported, within `samples`
  std::size_t count = 0;       // sample sets in the span
  std::size_t indexBase = 0;   // samples of earlier banks: where samples[.][0] falls in the file
};

struct RowClock {
  DateTime first;  // the file's first reading
  double rate = 1.0;
};

// Every point, or averages of N (one average: N = the span's count). A group
// running past the loaded data is completed with copies of its last sample;
// a group running past a zoomed span takes the samples that follow it.
void writeImageRows(ExportSink& sink, protocol::UnitConverter& converter, const std::vector<int>& channels,
                    const RowClock& clock, const ImageSpan& span, const ExportOptions& options);

// Rows of a table-form file's content (after its 17 heading lines and
// `skipRows` rows; at most `rowLimit` rows when given). `channels` values are
// read per row; `milliseconds` says the rows carry a milliseconds column.
void writeTableRows(ExportSink& sink, std::string_view content, std::size_t channels, bool milliseconds,
                    const ExportOptions& options, std::size_t skipRows, std::optional<std::size_t> rowLimit);

// One value as rows hold it: 3 decimals, right-aligned in at least 4 (CSV)
// or 8 (text) characters, with a decimal point.
void appendValue(std::string& out, double value, bool csv);

}  // namespace brevik::exporting
