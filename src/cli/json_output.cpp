#include "cli/json_output.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>

#include <nlohmann/json.hpp>

#include "common/cp1252.h"
#include "protocol/time_stamps.h"

namespace brevik::cli::json {

// Ordered, so that a document reads in the order the text form does.
struct Value::Impl {
  nlohmann::ordered_json j;
};

Value::Value() : impl_(std::make_unique<Impl>()) {}
Value::~Value() = default;
Value::Value(const Value& other) : impl_(std::make_unique<Impl>(*other.impl_)) {}
Value::Value(Value&& other) noexcept : impl_(std::move(other.impl_)) {}
Value& Value::operator=(Value other) noexcept {
  impl_ = std::move(other.impl_);
  return *this;
}

Value Value::object() {
  Value v;
  v.impl_->j = nlohmann::ordered_json::object();
  return v;
}

Value Value::array() {
  Value v;
  v.impl_->j = nlohmann::ordered_json::array();
  return v;
}

Value Value::text(std::string_view cp1252) { return utf8(toUtf8(cp1252)); }

Value Value::utf8(std::string_view text) {
  Value v;
  v.impl_->j = std::string(text);
  return v;
}

Value Value::integer(std::int64_t n) {
  Value v;
  v.impl_->j = n;
  return v;
}

Value Value::number(double n) {
  Value v;
  // JSON has no infinity or NaN; the library would print null anyway.
  if (std::isfinite(n)) v.impl_->j = n;
  return v;
}

Value Value::boolean(bool b) {
  Value v;
  v.impl_->j = b;
  return v;
}

Value Value::iso(const DateTime& t) {
  char buf[40];
  if (t.millisecond != 0)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second, t.millisecond);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
  return utf8(buf);
}

Value Value::isoOfDisplayStamp(std::string_view cp1252) {
  const auto stamp = protocol::parseDisplayStamp(cp1252);
  return stamp ? iso(*stamp) : Value();
}

Value& Value::set(std::string_view key, Value value) {
  impl_->j[std::string(key)] = std::move(value.impl_->j);
  return *this;
}

Value& Value::push(Value value) {
  impl_->j.push_back(std::move(value.impl_->j));
  return *this;
}

std::string Value::dump(bool oneLine) const {
  return impl_->j.dump(oneLine ? -1 : 2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

namespace {

struct ShownNumber {
  std::optional<double> value;
  std::string_view rest;  // what follows the number, or the whole text without one
};

ShownNumber splitShownNumber(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  text.remove_prefix(first);
  // from_chars would also take "inf" and "nan", which no shown value means.
  const char c = text.front();
  if (!(c == '-' || c == '.' || (c >= '0' && c <= '9'))) return {std::nullopt, text};
  double v = 0.0;
  const auto [stop, ec] = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::fixed);
  if (ec != std::errc() || !std::isfinite(v)) return {std::nullopt, text};
  return {v, text.substr(static_cast<std::size_t>(stop - text.data()))};
}

}  // namespace

std::optional<double> leadingNumber(std::string_view text) { return splitShownNumber(text).value; }

std::string afterLeadingNumber(std::string_view text) {
  const std::string_view rest = splitShownNumber(text).rest;
  const auto from = rest.find_first_not_of(' ');
  if (from == std::string_view::npos) return {};
  return std::string(rest.substr(from, rest.find_last_not_of(' ') - from + 1));
}

void printDocument(std::ostream& out, const Value& document) { out << document.dump() << "\n"; }

void printLine(std::ostream& out, const Value& item) { out << item.dump(true) << "\n" << std::flush; }

}  // namespace brevik::cli::json
