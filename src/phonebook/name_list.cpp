#include "phonebook/name_list.h"

#include <algorithm>
#include <utility>

#include "common/files.h"

namespace brevik::phonebook {

namespace {

constexpr ListDescription kPhone{"Phone.ini", "Number", "You must enter a Name", "You must enter a Phone Number",
                                 "phone number"};
constexpr ListDescription kLocal{"Local.ini", "Setup", "You must enter a Modem Name", "You must enter a Setup String",
                                 "setup string"};
constexpr ListDescription kRemote{"Remote.ini", "Setup", "You must enter a Modem Name",
                                  "You must enter a Setup String", "setup string"};

std::string cutAndTrim(std::string_view text, std::size_t width) {
  std::string_view s = text.substr(0, width);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return std::string(s);
}

// Where `record` goes so that the list stays sorted.
std::size_t sortedPosition(const std::vector<ListRecord>& records, const ListRecord& record) {
  return static_cast<std::size_t>(std::upper_bound(records.begin(), records.end(), record, listOrder) - records.begin());
}

}  // namespace

const ListDescription& describe(ListKind kind) {
  switch (kind) {
    case ListKind::Phone: return kPhone;
    case ListKind::LocalModem: return kLocal;
    case ListKind::RemoteModem: return kRemote;
  }
  return kPhone;
}

NameList::NameList(ListKind kind, std::filesystem::path path) : kind_(kind), path_(std::move(path)) {}

Result<NameList> NameList::open(ListKind kind, const std::filesystem::path& home) {
  NameList list(kind, home / describe(kind).fileName);
  auto bytes = files::readAll(list.path_);
  if (!bytes) {
    if (bytes.error().kind == ErrorKind::NotFound) return list;
    return bytes.error();
  }
  ParsedListFile parsed = parseListFile(*bytes, describe(kind).fieldKey);
  list.content_ = std::move(parsed.content);
  list.skipped_ = std::move(parsed.skipped);
  return list;
}

std::optional<std::size_t> NameList::find(std::string_view name) const {
  for (std::size_t i = 0; i < content_.records.size(); ++i)
    if (sameIniName(content_.records[i].name, name)) return i;
  return std::nullopt;
}

Result<ListRecord> NameList::shape(ListKind kind, std::string_view name, std::string_view value) {
  if (auto problem = nameProblem(name)) return makeError(ErrorKind::Usage, *problem);
  if (std::any_of(value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }))
    return makeError(ErrorKind::Usage, "A " + std::string(describe(kind).valueWord) + " must be one line of text");
  return ListRecord{cutAndTrim(name, kNameWidth), cutAndTrim(value, kValueWidth)};
}

Result<std::size_t> NameList::insert(const ListRecord& record) {
  if (find(record.name)) return makeError(ErrorKind::InvalidData, std::string(kDuplicateNameText));
  if (size() >= kMaxRecords)
    return makeError(ErrorKind::InvalidData, "The list is full: a file holds at most 999 records");
  ListFileContent next = content_;
  const std::size_t at = sortedPosition(next.records, record);
  next.records.insert(next.records.begin() + static_cast<std::ptrdiff_t>(at), record);
  if (Status saved = save(next); !saved) return saved.error();
  content_ = std::move(next);
  return at;
}

Result<std::size_t> NameList::modify(std::size_t position, const ListRecord& record) {
  if (position >= size()) return makeError(ErrorKind::Usage, "No record is selected");
  const auto same = find(record.name);
  if (same && *same != position) return makeError(ErrorKind::InvalidData, std::string(kDuplicateNameText));
  ListFileContent next = content_;
  next.records.erase(next.records.begin() + static_cast<std::ptrdiff_t>(position));
  const std::size_t at = sortedPosition(next.records, record);
  next.records.insert(next.records.begin() + static_cast<std::ptrdiff_t>(at), record);
  if (Status saved = save(next); !saved) return saved.error();
  content_ = std::move(next);
  return at;
}

Status NameList::remove(std::size_t position) {
  if (position >= size()) return makeError(ErrorKind::Usage, "No record is selected");
  ListFileContent next = content_;
  next.records.erase(next.records.begin() + static_cast<std::ptrdiff_t>(position));
  if (Status saved = save(next); !saved) return saved;
  content_ = std::move(next);
  return {};
}

std::string NameList::render() const { return renderListFile(content_, describe(kind_).fieldKey); }

Status NameList::save(const ListFileContent& content) {
  Status written = files::writeFileAtomically(path_, renderListFile(content, describe(kind_).fieldKey));
  if (!written)
    return makeError(ErrorKind::Io, "Cannot write " + path_.filename().string() + ": " + written.error().message);
  return {};
}

std::optional<std::size_t> openingPosition(std::size_t listSize, std::uint32_t saved) {
  if (listSize == 0) return std::nullopt;
  return saved < listSize ? static_cast<std::size_t>(saved) : 0;
}

std::string skippedLinesText(const NameList& list) {
  const auto& skipped = list.skipped();
  if (skipped.empty()) return {};
  std::string text = list.path().filename().string() + ": " + std::to_string(skipped.size()) +
                     (skipped.size() == 1 ? " line" : " lines") + " skipped, the other records are kept:";
  constexpr std::size_t kShown = 5;
  for (std::size_t i = 0; i < skipped.size() && i < kShown; ++i)
    text += "\nline " + std::to_string(skipped[i].line) + ": " + skipped[i].why;
  if (skipped.size() > kShown) text += "\n...";
  return text;
}

}  // namespace brevik::phonebook
