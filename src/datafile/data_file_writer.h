#pragma once
// Writes a logger data file (.QX1) as a download produces it: the header,
// then each accepted memory line exactly as the logger sent it (hex data and
// its two checksum digits), and "Z" + bank letter where a bank ends.
//
// The writer writes where it is told: a path (created anew, any earlier file
// replaced) or a stream. It never renames: a download writes a temporary
// file beside its target and renames it only when the transfer succeeded.

#include <filesystem>
#include <fstream>
#include <iosfwd>
#include <memory>
#include <string_view>

#include "common/result.h"
#include "datafile/data_file_header.h"

namespace brevik::datafile {

class DataFileWriter {
 public:
  // Writes to a stream the caller owns and keeps alive.
  explicit DataFileWriter(std::ostream& out);

  // Creates (or truncates) the file at `path`; Io error when it cannot.
  // Messages name `shownName` (Windows-1252) when given, else the path: a
  // download writes a temporary file but the user knows the target.
  static Result<DataFileWriter> create(const std::filesystem::path& path, std::string_view shownName = {});

  DataFileWriter(DataFileWriter&&) noexcept;
  DataFileWriter& operator=(DataFileWriter&&) noexcept;
  ~DataFileWriter();

  // Lines 1-17.
  Status writeHeader(const DataFileHeaderFields& fields);
  // One memory line as received. A line holding a line break is refused: it
  // would split into two lines of the file.
  Status appendDataLine(std::string_view line);
  // The end line "Z" + bank letter.
  Status endBank(char bankLetter);
  // Flushes (and closes a file the writer opened); reports any write failure.
  Status close();

 private:
  Status put(std::string_view text);

  std::unique_ptr<std::ofstream> owned_;
  std::ostream* out_ = nullptr;
  std::string name_;
};

// The whole header in one go, to a path (created anew).
Status writeDataFileHeader(const std::filesystem::path& path, const DataFileHeaderFields& fields);

}  // namespace brevik::datafile
