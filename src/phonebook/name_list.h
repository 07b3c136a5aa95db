#pragma once
// The three name lists of the program home - the phone book (site name and
// telephone number), the local modems and the site modems (name and set-up
// string) - each in its list file. A NameList is the file's records in list
// order; every change is checked, written to the file at once (atomically)
// and only then taken, so the list and the file never disagree.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "phonebook/list_file.h"

namespace brevik::phonebook {

enum class ListKind { Phone, LocalModem, RemoteModem };

inline constexpr std::size_t kNameWidth = 31;
inline constexpr std::size_t kValueWidth = 83;
inline constexpr std::size_t kMaxRecords = 999;

inline constexpr std::string_view kDuplicateNameText = "A record with that name already exists";

struct ListDescription {
  std::string_view fileName;       // in the program home
  std::string_view fieldKey;       // the key of field 2 in a record's section
  std::string_view missingName;    // field 1 left empty
  std::string_view missingValue;   // field 2 left empty
  std::string_view valueWord;      // field 2 in a sentence ("phone number")
};

const ListDescription& describe(ListKind kind);

class NameList {
 public:
  // An empty list whose file is `path` (nothing is read).
  NameList(ListKind kind, std::filesystem::path path);

  // The list of the home's file; a missing file is an empty list. Lines of
  // the file that mean nothing are skipped and listed in skipped().
  static Result<NameList> open(ListKind kind, const std::filesystem::path& home);

  ListKind kind() const { return kind_; }
  const std::filesystem::path& path() const { return path_; }
  const std::vector<ListRecord>& records() const { return content_.records; }
  std::size_t size() const { return content_.records.size(); }
  const std::vector<SkippedLine>& skipped() const { return skipped_; }
  // The position of the record called `name` (letter case does not count,
  // as in the file), if any.
  std::optional<std::size_t> find(std::string_view name) const;

  // A record as the file keeps it: name cut to 31 characters and value to
  // 83, blanks the cut leaves at the end dropped. Fails with the reason
  // when the name would break the file or the value is not one line.
  // (Empty fields are the dialog's business.)
  static Result<ListRecord> shape(ListKind kind, std::string_view name, std::string_view value);

  // Each returns the position the record now has, and fails with the text to
  // show (a duplicate name, a full file, a file that cannot be written),
  // leaving the list and the file as they were.
  Result<std::size_t> insert(const ListRecord& record);
  Result<std::size_t> modify(std::size_t position, const ListRecord& record);
  Status remove(std::size_t position);

  // The file's text for the list now.
  std::string render() const;

 private:
  Status save(const ListFileContent& content);

  ListKind kind_;
  std::filesystem::path path_;
  ListFileContent content_;
  std::vector<SkippedLine> skipped_;
};

// The position a list dialog opens on: the saved one, or the first when the
// saved one is past the end; none for an empty list.
std::optional<std::size_t> openingPosition(std::size_t listSize, std::uint32_t saved);

// The skipped lines of a list file said in a few lines for the user, or ""
// when none were skipped.
std::string skippedLinesText(const NameList& list);

}  // namespace brevik::phonebook
