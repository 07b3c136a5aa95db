#include "graph/display_values.h"

#include <algorithm>

#include "datafile/loaded_file.h"
#include "protocol/time_stamps.h"

namespace brevik::graph {

namespace {

// A slot's samples as the decimation reads them: past the last loaded sample
// the last one repeats, so the last group is always full.
struct SlotReader {
  const std::vector<std::uint16_t>* samples;
  std::uint16_t at(std::size_t k) const {
    const auto& s = *samples;
    return k < s.size() ? s[k] : s.back();
  }
};

// A channel whose table already yields its final values: a linear scale or
// a table whose input column is in counts. Such a table may fall as the
// count rises, so its larger count need not give the larger value.
bool isTableChannel(const protocol::UnitConverter& converter, int channel) {
  return converter.typeCode(channel) == '3' || converter.table(channel).scaled;
}

float displayValue(protocol::UnitConverter& converter, std::uint16_t raw, int channel) {
  const float v = converter.convert(raw, channel);
  return converter.toDisplayUnits(v, channel);
}

void noteExtremes(datafile::DisplaySeries& series, std::size_t slot, float value, std::size_t index, bool first) {
  if (first || value > series.largest[slot]) {
    series.largest[slot] = value;
    series.largestIndex[slot] = index;
  }
  if (first || value < series.smallest[slot]) {
    series.smallest[slot] = value;
    series.smallestIndex[slot] = index;
  }
}

}  // namespace

void computeDisplayValues(datafile::LoadedFile& file, datafile::DisplaySeries& series) {
  series.clear();
  const std::size_t slots = std::min<std::size_t>(file.channels.size(), 4);
  std::size_t s = file.samplesInRange;
  if (slots == 0 || s == 0 || file.samples.size() < slots) return;
  for (std::size_t j = 0; j < slots; ++j)
    if (file.samples[j].empty()) return;

  const std::size_t f = datafile::decimationFactor(s);
  series.factor = f;
  // A single sample is shown as two equal points, so the chart has a line.
  if (s == 1) s = 2;
  std::array<SlotReader, 4> readers{};
  for (std::size_t j = 0; j < slots; ++j) readers[j].samples = &file.samples[j];
  protocol::UnitConverter& converter = file.converter;
  const std::size_t start = file.rangeStart;

  if (f == 1) {
    for (std::size_t p = 0; p < s; ++p) {
      for (std::size_t j = 0; j < slots; ++j) {
        const float v = displayValue(converter, readers[j].at(start + p), file.channels[j]);
        series.at(j, p) = v;
        noteExtremes(series, j, v, start + p, p == 0);
      }
    }
    series.points = s;
    return;
  }

  const std::size_t group = 2 * f;
  const std::size_t wanted = s / f;
  std::size_t p = 0;
  for (std::size_t base = start; p < wanted && p + 2 <= datafile::kMaxPointsPerChannel; base += group) {
    for (std::size_t j = 0; j < slots; ++j) {
      const SlotReader& r = readers[j];
      std::uint16_t hi = r.at(base), lo = hi;
      std::size_t hiAt = base, loAt = base;
      for (std::size_t k = base + 1; k < base + group; ++k) {
        const std::uint16_t c = r.at(k);
        if (c > hi) {
          hi = c;
          hiAt = k;
        } else if (c < lo) {
          lo = c;
          loAt = k;
        }
      }
      const int channel = file.channels[j];
      float hiValue = displayValue(converter, hi, channel);
      float loValue = displayValue(converter, lo, channel);
      std::size_t hiIndex = hiAt, loIndex = loAt;
      if (isTableChannel(converter, channel) && hiValue < loValue) {
        std::swap(hiValue, loValue);
        std::swap(hiIndex, loIndex);
      }
      // The two points keep the order in which their counts were recorded.
      const bool largestFirst = hiAt < loAt;
      series.at(j, p) = largestFirst ? hiValue : loValue;
      series.at(j, p + 1) = largestFirst ? loValue : hiValue;
      noteExtremes(series, j, hiValue, hiIndex, p == 0);
      noteExtremes(series, j, loValue, loIndex, false);
    }
    p += 2;
  }
  series.points = p;
}

std::optional<DateTime> pointTime(const datafile::LoadedFile& file, const datafile::DisplaySeries& series, std::size_t point) {
  if (!file.firstTime) return std::nullopt;
  const double offset = file.zoomed ? file.zoomOffsetMinutes : 0.0;
  const double minutes = offset + static_cast<double>(point) * static_cast<double>(series.factor) * file.rate;
  return protocol::addMinutesPrecise(*file.firstTime, minutes);
}

}  // namespace brevik::graph
