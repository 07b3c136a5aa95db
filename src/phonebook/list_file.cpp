#include "phonebook/list_file.h"

#include <algorithm>
#include <optional>

namespace brevik::phonebook {

namespace {

constexpr std::string_view kDefaults = "Defaults";
constexpr std::string_view kIndex = "Index";
constexpr std::string_view kEntries = "_Entries";
constexpr std::string_view kEmptyValue = "#";
constexpr std::string_view kLineEnd = "\r\n";

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Splits at CR LF, LF or CR.
std::vector<std::string_view> splitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

const std::string* findKey(const IniKeys& keys, std::string_view key) {
  for (const auto& [k, v] : keys)
    if (sameIniName(k, key)) return &v;
  return nullptr;
}

std::string fieldText(const std::string& stored) { return stored == kEmptyValue ? std::string() : stored; }

struct Sections {
  std::vector<IniSection> list;

  IniSection* find(std::string_view name) {
    for (IniSection& s : list)
      if (sameIniName(s.name, name)) return &s;
    return nullptr;
  }
};

// The sections of the file, a section written twice read as one; what
// cannot be read is noted in `skipped`.
Sections readSections(std::string_view bytes, std::vector<SkippedLine>& skipped) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  Sections sections;
  IniSection* current = nullptr;
  const std::vector<std::string_view> lines = splitLines(bytes);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view raw = lines[i];
    const std::string_view line = trimmed(raw);
    auto skip = [&](std::string why) { skipped.push_back({i + 1, std::string(raw), std::move(why)}); };
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      if (line.back() != ']' || line.size() < 3) {
        skip("not a section name in brackets");
        current = nullptr;
        continue;
      }
      const std::string_view name = trimmed(line.substr(1, line.size() - 2));
      if (name.empty() || name.find_first_of("[]") != std::string_view::npos) {
        skip("not a section name in brackets");
        current = nullptr;
        continue;
      }
      current = sections.find(name);
      if (current == nullptr) {
        sections.list.push_back({std::string(name), {}});
        current = &sections.list.back();
      }
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) {
      skip("neither a section nor a key = value line");
      continue;
    }
    const std::string_view key = trimmed(line.substr(0, eq));
    if (key.empty()) {
      skip("a value without a key");
      continue;
    }
    if (current == nullptr) {
      skip("a key outside any section");
      continue;
    }
    if (sameIniName(current->name, kIndex)) {
      if (auto problem = nameProblem(key)) {
        skip(*problem);
        continue;
      }
    }
    if (findKey(current->keys, key) != nullptr) {
      skip("the key is already in section [" + current->name + "]");
      continue;
    }
    current->keys.emplace_back(std::string(key), std::string(trimmed(line.substr(eq + 1))));
  }
  return sections;
}

}  // namespace

std::optional<std::string> nameProblem(std::string_view name) {
  if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
    return "A name must be one line of text, without control characters";
  if (name.find_first_of("[]=") != std::string_view::npos) return "A name cannot contain \"[\", \"]\" or \"=\"";
  if (!name.empty() && (isBlank(name.front()) || isBlank(name.back())))
    return "A name cannot begin or end with a blank";
  if (!name.empty() && (name.front() == ';' || name.front() == '#')) return "A name cannot begin with \";\" or \"#\"";
  if (sameIniName(name, kDefaults) || sameIniName(name, kIndex))
    return "\"Defaults\" and \"Index\" cannot be used as names";
  return std::nullopt;
}

bool sameIniName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return fold(x) == fold(y); });
}

bool listOrder(const ListRecord& a, const ListRecord& b) {
  const auto folded = [](const std::string& s) {
    std::string f(s);
    std::transform(f.begin(), f.end(), f.begin(), fold);
    return f;
  };
  const std::string fa = folded(a.name);
  const std::string fb = folded(b.name);
  if (fa != fb) return fa < fb;
  return a.name < b.name;
}

ParsedListFile parseListFile(std::string_view bytes, std::string_view fieldKey) {
  ParsedListFile out;
  Sections sections = readSections(bytes, out.skipped);

  std::optional<std::string> fieldDefault;
  if (const IniSection* defaults = sections.find(kDefaults)) {
    for (const auto& [k, v] : defaults->keys)
      if (!sameIniName(k, kEntries)) out.content.defaults.emplace_back(k, v);
    if (const std::string* d = findKey(defaults->keys, fieldKey)) fieldDefault = fieldText(*d);
  }

  std::vector<std::string> owned;
  if (const IniSection* index = sections.find(kIndex)) {
    for (const auto& [name, marker] : index->keys) {
      (void)marker;
      ListRecord record{name, fieldDefault.value_or(std::string())};
      if (const IniSection* own = sections.find(name)) {
        if (const std::string* v = findKey(own->keys, fieldKey)) record.value = fieldText(*v);
        owned.push_back(own->name);
      }
      out.content.records.push_back(std::move(record));
    }
  }
  std::stable_sort(out.content.records.begin(), out.content.records.end(), listOrder);

  for (IniSection& s : sections.list) {
    if (sameIniName(s.name, kDefaults) || sameIniName(s.name, kIndex)) continue;
    const bool isOwned = std::any_of(owned.begin(), owned.end(), [&](const std::string& o) { return sameIniName(o, s.name); });
    if (!isOwned) out.content.otherSections.push_back(std::move(s));
  }
  return out;
}

std::string renderListFile(const ListFileContent& content, std::string_view fieldKey) {
  std::string out;
  const auto line = [&out](std::string_view a, std::string_view b = {}, std::string_view c = {}) {
    out.append(a).append(b).append(c).append(kLineEnd);
  };
  line("[", kDefaults, "]");
  line(kEntries, "=", std::to_string(content.records.size()));
  for (const auto& [k, v] : content.defaults) line(k, "=", v);
  line("");
  line("[", kIndex, "]");
  for (const ListRecord& r : content.records) line(r.name, "=", kEmptyValue);
  // An empty field is left out, unless a default would then fill it in.
  const std::string* fieldDefault = findKey(content.defaults, fieldKey);
  const bool emptyNeedsMarker = fieldDefault != nullptr && !fieldText(*fieldDefault).empty();
  for (const ListRecord& r : content.records) {
    line("");
    line("[", r.name, "]");
    if (!r.value.empty()) line(fieldKey, "=", r.value);
    else if (emptyNeedsMarker) line(fieldKey, "=", kEmptyValue);
  }
  for (const IniSection& s : content.otherSections) {
    line("");
    line("[", s.name, "]");
    for (const auto& [k, v] : s.keys) line(k, "=", v);
  }
  return out;
}

}  // namespace brevik::phonebook
