#include "datafile/data_file_writer.h"

#include <ostream>

#include <cerrno>

#include "common/cp1252.h"
#include "common/files.h"

namespace brevik::datafile {

namespace {

Error writeError(const std::string& name) {
  return makeError(ErrorKind::Io, "File I/O error: " + (name.empty() ? std::string("data file") : name) + " (" +
                                      fromUtf8(files::systemReason()) + ")");
}

}  // namespace

DataFileWriter::DataFileWriter(std::ostream& out) : out_(&out) {}

Result<DataFileWriter> DataFileWriter::create(const std::filesystem::path& path, std::string_view shownName) {
  errno = 0;
  auto file = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
  const std::string name = shownName.empty() ? fromUtf8(path.string()) : std::string(shownName);
  if (!*file) return writeError(name);
  DataFileWriter writer(*file);
  writer.owned_ = std::move(file);
  writer.name_ = name;
  return writer;
}

DataFileWriter::DataFileWriter(DataFileWriter&&) noexcept = default;
DataFileWriter& DataFileWriter::operator=(DataFileWriter&&) noexcept = default;
DataFileWriter::~DataFileWriter() = default;

Status DataFileWriter::put(std::string_view text) {
  if (!out_) return writeError(name_);
  out_->write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!*out_) return writeError(name_);
  return {};
}

Status DataFileWriter::writeHeader(const DataFileHeaderFields& fields) { return put(formatDataFileHeader(fields)); }

Status DataFileWriter::appendDataLine(std::string_view line) {
  if (line.find_first_of("\r\n") != std::string_view::npos)
    return makeError(ErrorKind::Usage, "a data line cannot hold a line break");
  if (auto s = put(line); !s) return s;
  return put("\r\n");
}

Status DataFileWriter::endBank(char bankLetter) {
  const char line[4] = {'Z', bankLetter, '\r', '\n'};
  return put(std::string_view(line, 4));
}

Status DataFileWriter::close() {
  if (!out_) return {};
  out_->flush();
  bool ok = static_cast<bool>(*out_);
  if (owned_) {
    owned_->close();
    ok = ok && !owned_->fail();
    owned_.reset();
  }
  out_ = nullptr;
  if (!ok) return writeError(name_);
  return {};
}

Status writeDataFileHeader(const std::filesystem::path& path, const DataFileHeaderFields& fields) {
  auto writer = DataFileWriter::create(path);
  if (!writer) return writer.error();
  if (auto s = writer->writeHeader(fields); !s) return s;
  return writer->close();
}

}  // namespace brevik::datafile
