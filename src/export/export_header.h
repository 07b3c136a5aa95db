#pragma once
// The seventeen header lines of a text or CSV export.
//
//   1      note                     9   "Rate (mins): " interval, battery
//   2      empty                    10  "First:       "
//   3      "Source File: " name     11  "Last:        "
//   4      "ID: " session, model    12  "Transferred: "
//   5-8    "ChN lbl/scl: "          13  "Eq. PC time: "
//   14     empty                    15  averaging note
//   16     empty                    17  column headings (no prefix)
//
// Every line but 2, 14, 16 and 17 starts with the prefix character.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brevik::exporting {

struct HeaderFacts {
  char prefix = ' ';
  std::string note;
  std::string sourceFile;
  std::string session;
  std::string modelName;
  std::array<std::string, 4> descriptions;  // all four channels, active or not
  std::array<std::string, 4> scaleTexts;    // 12 characters each
  double rate = 1.0;                        // minutes per sample
  std::string batteryText;                  // "Bat: 3.6" or empty
  std::string first;
  std::string last;
  std::string transferred;
  std::string pcTime;
  std::string averagingNote;
  std::vector<int> channels;                // active channel numbers, ascending
  std::array<std::string, 4> unitTexts;     // by channel number - 1
};

// The whole header, lines ended by CR LF.
std::string formatExportHeader(const HeaderFacts& facts);

// "%16.13f" with a decimal point whatever the locale says.
std::string formatRate(double rate);

// Line 15's text: nothing for every point; the one-average note (with the
// sample count unless the source is a table); the N-average note.
std::string averagingNote(std::uint32_t averaging, std::size_t samples, bool tableSource);

// Line 17: "Date,Time,", "millisecs," for intervals of 0.15 minutes or less,
// then "ChN:" and the unit text of each active channel, comma-separated.
std::string columnHeading(double rate, const std::vector<int>& channels, const std::array<std::string, 4>& unitTexts);

}  // namespace brevik::exporting
