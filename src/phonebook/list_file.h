#pragma once
// The text of one name list file (Phone.ini, Local.ini, Remote.ini): an ini
// file whose "Defaults" section counts the records ("_Entries"), whose
// "Index" section names every record ("NAME=#"), and which holds one
// section per record with its one field ("Number" or "Setup"), the key
// left out when the field is empty.
//
// Reading takes whatever a text editor may have made of it: any line ends,
// a byte-order mark, blanks around names, keys and values, comments (";" or
// "#"), blank lines, sections and keys in any order and any letter case,
// sections the program does not know. A line that means nothing is skipped
// and named in `skipped`, never fatal. Sections that belong to no record
// are kept and written back after the records, so a hand-made addition
// survives the next save; comments do not.
//
// Writing gives one layout: Defaults, Index, then the records in list
// order, CR LF line ends, a blank line between sections.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brevik::phonebook {

struct ListRecord {
  std::string name;   // Windows-1252
  std::string value;  // the number or set-up string; "" when empty
  friend bool operator==(const ListRecord&, const ListRecord&) = default;
};

using IniKeys = std::vector<std::pair<std::string, std::string>>;

struct IniSection {
  std::string name;
  IniKeys keys;
  friend bool operator==(const IniSection&, const IniSection&) = default;
};

struct ListFileContent {
  std::vector<ListRecord> records;      // in list order (sorted by name)
  IniKeys defaults;                     // "Defaults" keys other than "_Entries"
  std::vector<IniSection> otherSections;  // sections no record owns, as found
};

struct SkippedLine {
  std::size_t line = 0;  // counted from 1
  std::string text;      // the line as it stood, without its line end
  std::string why;
  friend bool operator==(const SkippedLine&, const SkippedLine&) = default;
};

struct ParsedListFile {
  ListFileContent content;
  std::vector<SkippedLine> skipped;
};

// Reads a list file whose records keep their field under `fieldKey`.
// Records come out sorted (listOrder).
ParsedListFile parseListFile(std::string_view bytes, std::string_view fieldKey);

// The file's bytes for `content`, whose records are in list order.
std::string renderListFile(const ListFileContent& content, std::string_view fieldKey);

// Why `name` cannot be a record's name in the file (it would break the
// file or read back as something else), or nothing when it can: a line
// break or other control character, "[", "]" or "=", a blank at either end,
// a ";" or "#" first (a comment), or "Defaults" or "Index".
std::optional<std::string> nameProblem(std::string_view name);

// ASCII letter case folded, as ini files compare section and key names.
bool sameIniName(std::string_view a, std::string_view b);

// The order of the list box: letter case folded first, then the bytes.
bool listOrder(const ListRecord& a, const ListRecord& b);

}  // namespace brevik::phonebook
