#pragma once
// kaldo's machine-readable output (--json). The JSON library is a heavy
// header, so it is included by json_output.cpp alone: commands build their
// documents with the small value type below and print them from here.
//
// Conventions every --json command keeps: standard output holds the JSON and
// nothing else (messages meant for people go to standard error); a document
// is written only when the command succeeded; texts are UTF-8 (the logger's
// Windows-1252 converted, control bytes escaped by the library); numbers are
// JSON numbers; a stamp goes with its ISO 8601 form (local time, no zone:
// the logger keeps none), null when the text is no stamp.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"

namespace brevik::cli::json {

class Value {
 public:
  Value();  // null
  ~Value();
  Value(const Value& other);
  Value(Value&& other) noexcept;
  Value& operator=(Value other) noexcept;

  static Value object();
  static Value array();
  // A Windows-1252 text of the program or the logger.
  static Value text(std::string_view cp1252);
  // A text that is UTF-8 already (command-line arguments, paths); a byte
  // that is not UTF-8 is replaced when printed.
  static Value utf8(std::string_view text);
  static Value integer(std::int64_t n);
  static Value number(double n);
  static Value boolean(bool b);
  // "YYYY-MM-DDThh:mm:ss" (with ".mmm" when there are milliseconds).
  static Value iso(const DateTime& t);
  // The ISO form of a display stamp such as "Tue  3-Jun-2003  9:05:00pm";
  // null when the text is not one.
  static Value isoOfDisplayStamp(std::string_view cp1252);

  // Members keep the order they were set in; setting a key again replaces it.
  Value& set(std::string_view key, Value value);
  Value& push(Value value);

  // Pretty-printed (a whole document) or on one line (one item of a stream).
  std::string dump(bool oneLine = false) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The number a shown text starts with ("  23.50 Deg F", "6.7 volts",
// "-0.5"), as that text shows it; nothing when it starts with none ("OFF").
std::optional<double> leadingNumber(std::string_view text);
// What follows that number, blanks trimmed ("Deg F"); the whole trimmed text
// when there is no number.
std::string afterLeadingNumber(std::string_view text);

// The document, then a line end.
void printDocument(std::ostream& out, const Value& document);
// One item of a stream: one line, flushed, so a reader gets it at once.
void printLine(std::ostream& out, const Value& item);

}  // namespace brevik::cli::json
