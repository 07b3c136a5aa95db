#include "export/export_rows.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "datafile/qx2_table.h"
#include "protocol/time_stamps.h"

namespace brevik::exporting {

namespace {

void putDigits(std::string& out, int value, int digits) {
  char buf[8];
  value = std::clamp(value, 0, 9999);
  for (int i = digits - 1; i >= 0; --i) {
    buf[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out.append(buf, static_cast<std::size_t>(digits));
}

// The form of protocol::formatNumericStamp, written in place: a row must not
// cost an allocation.
void appendStamp(std::string& out, const DateTime& t, const protocol::NumericStampStyle& style) {
  const char sep = style.csv ? ',' : ' ';
  putDigits(out, style.dayFirst ? t.day : t.month, 2);
  out += '/';
  putDigits(out, style.dayFirst ? t.month : t.day, 2);
  out += '/';
  putDigits(out, t.year, 4);
  out += sep;
  putDigits(out, t.hour, 2);
  out += ':';
  putDigits(out, t.minute, 2);
  out += ':';
  putDigits(out, t.second, 2);
  if (style.milliseconds) {
    out += sep;
    putDigits(out, t.millisecond, 3);
  }
}

void appendDecimalPoint(std::string& out, const char* text, int n) {
  const std::size_t at = out.size();
  out.append(text, static_cast<std::size_t>(std::max(n, 0)));
  std::replace(out.begin() + static_cast<std::ptrdiff_t>(at), out.end(), ',', '.');
}

}  // namespace

void appendValue(std::string& out, double value, bool csv) {
  // Three decimals with a decimal point whatever the locale, right-aligned.
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 3);
  const std::size_t len = r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - buf) : 0;
  const std::size_t width = csv ? 4 : 8;
  if (len < width) out.append(width - len, ' ');
  out.append(buf, len);
}

void writeImageRows(ExportSink& sink, protocol::UnitConverter& converter, const std::vector<int>& channels,
                    const RowClock& clock, const ImageSpan& span, const ExportOptions& options) {
  if (!span.samples || span.count == 0) return;
  const auto& samples = *span.samples;
  const std::size_t slots = std::min({channels.size(), samples.size(), std::size_t{4}});
  std::size_t loaded = SIZE_MAX;
  for (std::size_t j = 0; j < slots; ++j) loaded = std::min(loaded, samples[j].size());
  if (slots == 0 || loaded == 0 || loaded == SIZE_MAX) return;

  const protocol::NumericStampStyle style{options.dayFirst, options.csv,
                                          protocol::numericStampNeedsMilliseconds(clock.rate)};
  const char sep = options.csv ? ',' : ' ';
  const std::uint32_t averaging = effectiveAveraging(options.averaging);
  const std::size_t n = averaging == kOneAverage ? span.count : std::size_t{averaging};
  const std::size_t rows = span.count / n + (span.count % n ? 1 : 0);
  const auto countAt = [&](std::size_t slot, std::size_t k) { return samples[slot][std::min(k, loaded - 1)]; };

  std::array<double, 4> sums{};
  for (std::size_t r = 0; r < rows; ++r) {
    const std::size_t groupStart = span.firstIndex + r * n;
    sums.fill(0.0);
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < slots; ++j) {
        std::uint16_t raw = countAt(j, groupStart + i);
        const int channel = channels[j];
        sums[j] += converter.toDisplayUnits(converter.convert(raw, channel), channel);
      }
    }
    // A row is stamped with the time of its group's last sample.
    const double index = static_cast<double>(span.indexBase + groupStart + n - 1);
    std::string& out = sink.buffer();
    appendStamp(out, protocol::addMinutesPrecise(clock.first, index * clock.rate), style);
    for (std::size_t j = 0; j < slots; ++j) {
      out += sep;
      appendValue(out, sums[j] / static_cast<double>(n), options.csv);
    }
    out += "\r\n";
    sink.maybeFlush();
  }
}

void writeTableRows(ExportSink& sink, std::string_view content, std::size_t channels, bool milliseconds,
                    const ExportOptions& options, std::size_t skipRows, std::optional<std::size_t> rowLimit) {
  datafile::LineCursor cursor(content);
  std::string_view line;
  for (std::size_t i = 0; i < datafile::kTableHeadingLines && cursor.next(line); ++i) {
  }
  const auto nextRow = [&]() -> bool {
    while (cursor.next(line))
      if (!line.empty()) return true;
    return false;
  };
  for (std::size_t i = 0; i < skipRows && nextRow(); ++i) {
  }
  const char sep = options.csv ? ',' : ' ';
  std::size_t budget = rowLimit.value_or(SIZE_MAX);
  const std::uint32_t averaging = effectiveAveraging(options.averaging);

  if (averaging == kEveryPoint) {
    while (budget > 0 && nextRow()) {
      --budget;
      std::string& out = sink.buffer();
      const std::size_t at = out.size();
      out += line;
      if (!options.csv) std::replace(out.begin() + static_cast<std::ptrdiff_t>(at), out.end(), ',', ' ');
      out += "\r\n";
      sink.maybeFlush();
    }
    return;
  }

  const std::size_t n = averaging == kOneAverage ? kTableOneAverageRows : std::size_t{averaging};
  channels = std::min<std::size_t>(channels, 4);
  std::array<float, 4> values{};
  std::array<double, 4> sums{};
  bool more = true;
  while (more) {
    sums.fill(0.0);
    std::size_t read = 0;
    std::string_view lastRow;
    while (read < n) {
      if (budget == 0 || !nextRow()) {
        more = false;
        break;
      }
      const std::size_t got = datafile::parseTableRow(line, milliseconds, std::span(values).first(channels));
      if (got != channels) continue;  // not a row: damage is passed over
      --budget;
      for (std::size_t j = 0; j < channels; ++j) sums[j] += values[j];
      lastRow = line;
      ++read;
    }
    if (read == 0) break;
    // The stamp part: "mm/dd/yyyy,hh:mm:ss," (20 characters), or 24 with
    // milliseconds. Whether rows carry milliseconds is the table's rate's
    // business: both forms have a comma as their 20th character.
    const std::string_view stamp = lastRow.substr(0, milliseconds ? 24 : 20);
    std::string& out = sink.buffer();
    const std::size_t at = out.size();
    out += stamp;
    if (!options.csv) std::replace(out.begin() + static_cast<std::ptrdiff_t>(at), out.end(), ',', ' ');
    for (std::size_t j = 0; j < channels; ++j) {
      if (j > 0) out += sep;
      char buf[64];
      const int len = std::snprintf(buf, sizeof buf, "%.3f", sums[j] / static_cast<double>(read));
      appendDecimalPoint(out, buf, std::min(len, static_cast<int>(sizeof buf) - 1));
    }
    out += "\r\n";
    sink.maybeFlush();
  }
}

}  // namespace brevik::exporting
