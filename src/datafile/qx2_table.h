#pragma once
// The table form of a data file (.QX2): the layout of the text export, a
// quote before each header line, values already in engineering units.
//
//   1, 2    skipped (note, blank)
//   3       "Source File: " and the .QX1 name (characters 2-7 read "Source")
//   4       session description, characters 6-36
//   5-8     channel descriptions, characters 15-38
//   9       rate in minutes, characters 15-30
//   10, 11  First and Last, characters 15-40
//   12-16   skipped
//   17      column headings: units, humidity mode and "Ch1:".."Ch4:"
//   18 ...  one row per sampling instant: date, time, [milliseconds,] values

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "protocol/humidity.h"

namespace brevik::datafile {


inline constexpr std::size_t kTableHeadingLines = 17;
// The most a table is read for: one row per sample of four full 8-bit banks
// of one channel (129,024 rows) at 128 bytes a row, the longest any row
// takes, and its heading.
inline constexpr std::size_t kMaxTableFileBytes = 4 * 32256 * 128 + 65536;
inline constexpr std::string_view kIncompatibleTableMessage = "Incompatible file format - click Help for details";

struct TableHeading {
  std::string session;                      // 31 characters
  std::array<std::string, 4> descriptions;  // 24 characters each
  double rate = 0.0;                        // minutes per row
  std::string first;
  std::string last;
  std::vector<int> channels;                // from "Ch1:" .. "Ch4:"
  std::array<std::string, 4> unitTexts;     // per channel number - 1
  std::optional<bool> fahrenheit;           // "Deg F" / "Deg C"
  std::optional<protocol::HumidityMode> humidityMode;  // "% RH" / "Dew P" / "Wet B"
  bool milliseconds = false;                // rows carry a milliseconds column
};

// Reads lines 1-17 of a table. Fails with the messages the user sees: the
// incompatible-format message when line 3 does not read "Source", "Sample
// Rate field is invalid: <line> - click Help for details" for a rate that is
// not a positive number.
Result<TableHeading> parseTableHeading(std::span<const std::string_view> lines);

// The values of one data row, in column order, into `out`; returns how many
// were read (0 for a line that is not a row). Commas or blanks separate them.
std::size_t parseTableRow(std::string_view row, bool milliseconds, std::span<float> out);

// The message shown when a table holds more rows than its stamps promise.
std::string tableOverflowMessage(std::string_view fileName);

// Cuts content into lines one at a time, without a list of them.
class LineCursor {
 public:
  explicit LineCursor(std::string_view content) : rest_(content) {}
  bool next(std::string_view& line);

 private:
  std::string_view rest_;
  bool done_ = false;
};

}  // namespace brevik::datafile
