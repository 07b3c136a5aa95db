#include "export/export_sink.h"

#include <cerrno>
#include <system_error>

#include "common/files.h"

namespace brevik::exporting {

Result<ExportSink> ExportSink::open(const std::filesystem::path& target) {
  ExportSink sink;
  sink.target_ = target;
  sink.temporary_ = files::temporarySibling(target);
  sink.done_ = false;
  errno = 0;
  sink.out_ = std::make_unique<std::ofstream>(sink.temporary_, std::ios::binary | std::ios::trunc);
  if (!*sink.out_) {
    sink.done_ = true;
    return makeError(ErrorKind::Io, "Cannot write " + target.string() + ": the file could not be created (" +
                                        files::systemReason() + ")");
  }
  sink.buffer_.reserve(kFlushAt + 4096);
  return sink;
}

ExportSink::~ExportSink() { abandon(); }

void ExportSink::flushBuffer() {
  if (out_ && *out_ && !buffer_.empty()) out_->write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  buffer_.clear();
}

Error ExportSink::writeError() const {
  return makeError(ErrorKind::Io, "Cannot write " + target_.string() + ": writing the file failed (" +
                                      files::systemReason() + ")");
}

Status ExportSink::commit() {
  if (done_ || !out_) return writeError();
  flushBuffer();
  out_->flush();
  const bool good = static_cast<bool>(*out_);
  out_->close();
  if (!good || out_->fail()) {
    abandon();
    return writeError();
  }
  std::error_code ec;
  std::filesystem::rename(temporary_, target_, ec);
  if (ec) {
    abandon();
    return makeError(ErrorKind::Io, "Cannot write " + target_.string() + ": " + ec.message());
  }
  done_ = true;
  return {};
}

void ExportSink::abandon() {
  if (done_) return;
  done_ = true;
  if (out_) out_->close();
  std::error_code ec;
  std::filesystem::remove(temporary_, ec);
}

}  // namespace brevik::exporting
