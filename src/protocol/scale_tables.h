#pragma once
// Scale texts and scaling table files.
//
// A linear channel (code '3') or a contact channel (code 'X') carries its two
// scale values in a 12-character scale text: two 6-character numbers side by
// side, the value at count 0 first, then the value at the full-scale count.
// Every other table code reads a small text file from the program home:
//
//     line 1   title (not read)
//     line 2   its first character is the kind: 'N' second column in percent
//              of full scale, 'L' light sensor, anything else raw as it stands
//     line 3   not read
//     line 4…  "value raw", two numbers separated by blanks or tabs
//
// Lines may end in CR LF, LF or a lone CR. At most 255 points are read; lines
// after the 255th point are not looked at. Blank lines are skipped; extra text
// after the two numbers of a line is ignored; a line that does not start with
// two numbers makes the table unusable ("... has improper format" with the
// line number), as does a table of fewer than two points.
//
// Names come from the logger (channel records), so a table name is checked
// before anything is opened: path separators ('/', '\'), a drive or stream
// colon, "..", NUL or other control bytes, and the reserved device names of
// Windows (CON, NUL, COM1, ...) are refused with an Error.
//
// Matching names on a file system that tells case apart: the names in use are
// mixed ("A.rvt" from the setup form, "C.Rvt", "P.rvt", "b.mvt", user files
// saved as "X.RVT"). A name is looked up as follows:
//   1. the exact name, when such a file exists in the home;
//   2. otherwise every regular file of the home whose whole name (base name
//      and extension) equals the wanted name ignoring ASCII case; the
//      extension is part of the comparison, so "b.mvt" never matches
//      "B.Rvt". Among several, one whose base name has the exact case wins,
//      then the smallest name in byte order, so the choice never depends on
//      directory order.
// On Windows and macOS step 1 already finds every spelling. Both the checks
// and the lookup live in setup/home_files.h.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "common/home_files.h"

namespace brevik::protocol {

// ---------------------------------------------------------------- scale texts

inline constexpr std::size_t kScaleTextLength = 12;
inline constexpr std::size_t kScaleNumberWidth = 6;

struct ScaleRange {
  float low = 0.0f;   // value at count 0 (contact: the open value)
  float high = 0.0f;  // value at the full-scale count (contact: the closed value)
};

// Characters 1-6 and 7-12 of a scale text, blanks included. A shorter text
// gives shorter (possibly empty) parts; characters past 12 are ignored.
std::string_view scaleTextLowPart(std::string_view scaleText);
std::string_view scaleTextHighPart(std::string_view scaleText);

// One 6-character number: surrounding blanks ignored, '.' or ',' as the
// decimal point, a blank field is 0. Anything else is an InvalidData Error.
Result<float> parseScaleNumber(std::string_view field);

// Both numbers of a scale text.
Result<ScaleRange> parseScaleText(std::string_view scaleText);

// "Linear: " + low + " / " + high and "Fer/ouv: " + open + " / " + closed,
// each number as its 6 characters stand (e.g. "Linear: 0.0000 / 100.00").
std::string linearCaption(std::string_view scaleText);
std::string contactCaption(std::string_view scaleText);

// ---------------------------------------------------------- tables per code

enum class TableSource {
  None,       // '0' channel off, 'R' resistance in ohms
  ScaleText,  // '3' linear, 'X' contact: a two-point table from the scale text
  File,       // every other code
};

TableSource tableSourceFor(char code);

// Codes 'Y' to '~'.
bool isThermocoupleCode(char code);

// The table file of a code that reads a file. Thermocouples: by type ("k.mvt"
// for 'h', 'k' and 'z'; the low-temperature and unlisted codes use their own
// letter). Other codes: `name` (the channel record / table name) with every
// blank removed + ".Rvt"; an empty name gives "C.Rvt". The result is not
// checked for safety here; readTableFile does that.
std::string tableFileName(char code, std::string_view name);

inline constexpr std::string_view kDefaultTableFile = "C.Rvt";

// ------------------------------------------------------------------ tables

inline constexpr std::size_t kMaxTablePoints = 255;

enum class TableKind {
  Counts,   // raw column as it stands (ohms, millivolts or counts)
  Percent,  // 'N': raw column was in percent of full scale, now in counts
  Light,    // 'L': light sensor
};

struct TablePoint {
  float value = 0.0f;  // engineering value (first column)
  float raw = 0.0f;    // input quantity (second column)
};

struct ScaleTable {
  TableKind kind = TableKind::Counts;
  char kindLetter = ' ';           // first character of line 2 (' ' when absent)
  std::vector<TablePoint> points;  // in file order, at most 255
  std::string fileName;            // the file actually read; empty for a scale-text table
};

// Parses the text of a table file. `fileName` is only used in messages.
// Kind 'N' raw values become raw * fullScale / 100.
Result<ScaleTable> parseTableText(std::string_view text, std::string_view fileName,
                                  int fullScale);

// Reads `fileName` from `home`: refused (Usage Error) when the name is not a
// plain file name; when it cannot be opened, "C.Rvt" is tried once instead;
// when that fails too, a NotFound Error naming both.
Result<ScaleTable> readTableFile(const std::filesystem::path& home, std::string_view fileName,
                                 int fullScale);

// The table of one channel: nullopt for codes '0' and 'R'; for '3' and 'X'
// the two points (low, 0) and (high, fullScale) from `text` as a scale text;
// otherwise the file named by tableFileName(code, text), read from `home`.
Result<std::optional<ScaleTable>> loadChannelTable(const std::filesystem::path& home, char code,
                                                   std::string_view text, int fullScale);

}  // namespace brevik::protocol
