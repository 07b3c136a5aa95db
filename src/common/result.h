#pragma once
// Failures cross subsystem boundaries as values. An Error carries the text the
// user would see (Windows-1252) and a kind that callers may tell apart.

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace brevik {

enum class ErrorKind {
  General,
  NotFound,      // a file or record that is not there
  InvalidData,   // content that does not follow its format
  Io,            // reading or writing failed
  PortUnavailable,  // the serial port is missing or busy
  Usage,         // a request the caller should not have made (bad argument)
};

struct Error {
  ErrorKind kind = ErrorKind::General;
  std::string message;  // Windows-1252, shown as it stands
};

inline Error makeError(ErrorKind kind, std::string message) {
  return Error{kind, std::move(message)};
}

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}  // NOLINT: implicit on purpose
  Result(Error error) : state_(std::move(error)) {}  // NOLINT

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }

  T& value() & { assert(ok()); return std::get<T>(state_); }
  const T& value() const& { assert(ok()); return std::get<T>(state_); }
  T&& value() && { assert(ok()); return std::get<T>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  const Error& error() const { assert(!ok()); return std::get<Error>(state_); }

 private:
  std::variant<T, Error> state_;
};

// Result of an operation that yields nothing but success or an Error.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)), failed_(true) {}  // NOLINT

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const Error& error() const { assert(failed_); return error_; }

 private:
  Error error_;
  bool failed_ = false;
};

using Status = Result<void>;

}  // namespace brevik
