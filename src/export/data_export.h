#pragma once
// Export(file name, note, form, averaging): writes the loaded data file as a
// text or CSV table. The export dialog, the automatic export after a
// download and `kaldo export` call it; the data loader uses the table-copy
// writer below to turn a multi-bank file into its .QX2 form.
//
// An export goes to a temporary file renamed over the target when complete:
// a failure reports a message and leaves no half-written file behind. The
// source data file is never written.

#include <filesystem>
#include <optional>
#include <string>

#include "common/clock.h"
#include "common/result.h"
#include "export/export_header.h"
#include "export/export_options.h"
#include "export/export_rows.h"
#include "export/export_sink.h"
#include "datafile/data_file_reader.h"
#include "datafile/loaded_file.h"

namespace brevik::exporting {

// Writes `file` (its shown span when zoomed) to `target`. `home` is where a
// table-form source is looked for when its own name cannot be opened.
Status exportLoadedFile(datafile::LoadedFile& file, const std::filesystem::path& target, const ExportOptions& options,
                        const std::filesystem::path& home);

// The header facts of a loaded file for an export with these options.
HeaderFacts headerFactsOf(const datafile::LoadedFile& file, const ExportOptions& options);

// The table copy of a multi-bank data file, one bank at a time: the file
// stays open between banks and appears under its name once finished.
class TableCopyWriter {
 public:
  static Result<TableCopyWriter> create(const std::filesystem::path& target, const HeaderFacts& header,
                                        bool dayFirst);
  // Appends one row per sample set of a bank whose first sample is sample
  // `indexBase` of the file.
  void appendBank(protocol::UnitConverter& converter, const std::vector<int>& channels, const RowClock& clock,
                  const std::vector<std::vector<std::uint16_t>>& samples, std::size_t count, std::size_t indexBase);
  Status finish();

 private:
  explicit TableCopyWriter(ExportSink sink, ExportOptions options)
      : sink_(std::move(sink)), options_(std::move(options)) {}
  ExportSink sink_;
  ExportOptions options_;
};

// Writes every bank of `data` to `target` as a table; `state` holds the
// file's time base, channels and conversions.
Status writeTableCopy(const datafile::LoggerDataFile& data, datafile::LoadedFile& state,
                      const std::filesystem::path& target, bool dayFirst);

// Whether the file at `existing` is a table copy of the data file `state`
// describes (the same source name, session and first and last stamps), so
// that writing the copy anew replaces nothing else.
bool isTableCopyOf(const std::filesystem::path& existing, const datafile::LoadedFile& state);

}  // namespace brevik::exporting
