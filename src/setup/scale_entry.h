#pragma once
// What the scaling dialogs do with the numbers a user types before a channel
// gets a new scale text: the six-character rule, the check of a linear or
// contact pair, and the box texts that result. The table chooser's texts
// live here too, as the other way a scaling box item is rewritten.

#include <string>
#include <string_view>
#include <variant>

namespace brevik::setup {

inline constexpr std::string_view kLinearPrefix = "Linear: ";
inline constexpr std::string_view kContactPrefix = "Fer/ouv: ";
inline constexpr std::string_view kTablePrefix = "Table: (";
inline constexpr std::string_view kScaleSeparator = " / ";

// An entry as a 6-character number: an empty entry becomes "0"; a shorter
// one gets a "." when it has none, then "0"s up to 6 characters. An entry of
// 6 stays as it is (a longer one is cut to 6). "5" -> "5.0000",
// "-5" -> "-5.000", "12.5" -> "12.500".
std::string sixCharacterNumber(std::string_view entry);

// A calculator's result as a scale number: "%6.3f", the first ',' made a
// '.', cut to 6 characters. 0 -> " 0.000", -25 -> "-25.00",
// 100.502 -> "100.50".
std::string calculatorOutput(double value);

inline constexpr std::string_view kOneValueNonZeroText = "One value must be non-zero";
inline constexpr std::string_view kValuesDifferentText = "Values must be different";

// The two scale numbers a dialog accepted, each six characters.
struct ScalePair {
  std::string low;   // linear: value at the bottom; contact: the open value
  std::string high;  // linear: value at the top;    contact: the closed value

  std::string scaleText() const { return low + high; }
};

// A refusal: the error text the dialog shows; the dialog stays open with
// the focus on its first field.
struct ScaleEntryRefused {
  std::string message;
};

// OK of the linear scaling and contact values dialogs: the six-character
// rule on both entries, then "One value must be non-zero" when both are 0
// and "Values must be different" when they are equal. An entry that is not
// a number is refused with "Not a number: " and the entry.
std::variant<ScalePair, ScaleEntryRefused> acceptScaleEntries(std::string_view lowEntry,
                                                              std::string_view highEntry);

// The scaling box texts of an accepted pair: "Linear: " + low + " / " + high
// and "Fer/ouv: " + open + " / " + closed.
std::string linearItemText(const ScalePair& pair);
std::string contactItemText(const ScalePair& pair);

// The scale text held in a linear or contact item: the text after `prefix`
// with the " / " separator removed, cut to 12 characters. Text without the
// prefix gives "".
std::string scaleTextOfItem(std::string_view itemText, std::string_view prefix);

// ------------------------------------------------------------ table chooser

inline constexpr std::string_view kChooseTableCaption = "Custom Table";
inline constexpr std::string_view kChooseTablePrompt = "Select a Brevik Logger scaling table (.RVT)";
inline constexpr std::string_view kChooseTableMask = "*.RVT";

// Item 6 after choosing a file: "Table: (" + the file name with its
// extension, without its directory + ")".
std::string tableItemText(std::string_view chosenFileName);

// The base name held in a table item: the text after "Table: (" up to the
// first '.' (or the closing ')' when there is no '.'), cut to 8 characters.
std::string tableNameOfItem(std::string_view itemText);

// Item 6 for a stored table name: "Table: (" + name + ".rvt)".
std::string tableItemTextOfName(std::string_view tableName);

}  // namespace brevik::setup
