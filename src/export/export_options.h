#pragma once
// What the user chose for an export: form, header, note and averaging.

#include <cstdint>
#include <filesystem>
#include <string>

namespace brevik::exporting {

// ExportAveraging: 1 every point, 9999 one average of the whole span, N
// (2-9998) averages of N consecutive samples; 0 is read as 1.
inline constexpr std::uint32_t kEveryPoint = 1;
inline constexpr std::uint32_t kOneAverage = 9999;
// A table-form source averaged "once" is averaged over this many rows.
inline constexpr std::size_t kTableOneAverageRows = 300000;

struct ExportOptions {
  std::string note;
  bool csv = true;                       // else text form
  std::uint32_t averaging = kEveryPoint;
  bool noHeader = false;                 // ExportNoHeader
  bool dayFirst = false;                 // ExportDayFirst
  // The header lines' first character; 0 means by the form (a quote in text
  // form, a blank in CSV form). The table copy of a data file uses a quote.
  char headerPrefix = 0;
};

inline std::uint32_t effectiveAveraging(std::uint32_t averaging) { return averaging == 0 ? 1 : averaging; }

inline char headerPrefixOf(const ExportOptions& o) {
  if (o.headerPrefix != 0) return o.headerPrefix;
  return o.csv ? ' ' : '"';
}

// The header is left out only when asked for and the name ends in ".CSV" or
// ".TXT" (any case); any other name gets it whatever the option says.
bool writesHeader(const std::filesystem::path& target, bool noHeader);

}  // namespace brevik::exporting
