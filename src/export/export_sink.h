#pragma once
// Where an export writes: a temporary file beside the target, renamed over it
// only when everything was written. A failed or abandoned export leaves no
// half-written file under the target's name, and never touches another file.

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "common/result.h"

namespace brevik::exporting {

class ExportSink {
 public:
  // Opens the temporary file; the message names the target when it cannot.
  static Result<ExportSink> open(const std::filesystem::path& target);

  ExportSink(ExportSink&& other) noexcept { *this = std::move(other); }
  ExportSink& operator=(ExportSink&& other) noexcept {
    if (this != &other) {
      abandon();
      target_ = std::move(other.target_);
      temporary_ = std::move(other.temporary_);
      out_ = std::move(other.out_);
      buffer_ = std::move(other.buffer_);
      done_ = other.done_;
      other.done_ = true;  // the moved-from sink owns no file any more
    }
    return *this;
  }
  ~ExportSink();

  // Text is gathered and written in large pieces.
  void append(std::string_view text) {
    buffer_ += text;
    if (buffer_.size() >= kFlushAt) flushBuffer();
  }
  std::string& buffer() { return buffer_; }
  void maybeFlush() {
    if (buffer_.size() >= kFlushAt) flushBuffer();
  }

  // Writes what is left, closes the file and renames it over the target.
  Status commit();
  // Drops the temporary file.
  void abandon();

  const std::filesystem::path& target() const { return target_; }

 private:
  ExportSink() = default;
  static constexpr std::size_t kFlushAt = 1 << 16;
  void flushBuffer();
  Error writeError() const;

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::unique_ptr<std::ofstream> out_;
  std::string buffer_;
  bool done_ = true;
};

}  // namespace brevik::exporting
