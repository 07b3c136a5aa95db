#include "export/data_export.h"

#include <system_error>

#include "common/files.h"
#include "datafile/qx2_table.h"
#include "export/export_rows.h"
#include "protocol/time_stamps.h"

namespace brevik::exporting {

namespace {

bool isTableName(const std::filesystem::path& p) {
  const std::string name = p.string();
  return name.find(".QX2") != std::string::npos || name.find(".qx2") != std::string::npos;
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ec;
  if (std::filesystem::equivalent(a, b, ec)) return true;
  return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

// The content of a table-form source: its own name, else its bare name in
// the program directory.
Result<std::string> readTableSource(const std::filesystem::path& name, const std::filesystem::path& home) {
  if (!isTableName(name)) return makeError(ErrorKind::InvalidData, name.string() + " is not a QX2 type file");
  auto content = files::readBounded(name, datafile::kMaxTableFileBytes);
  if (!content && content.error().kind == ErrorKind::NotFound && !home.empty())
    content = files::readBounded(home / name.filename(), datafile::kMaxTableFileBytes);
  if (!content) return files::dataFileReadError(content.error(), name.string());
  return content;
}

}  // namespace

HeaderFacts headerFactsOf(const datafile::LoadedFile& file, const ExportOptions& options) {
  HeaderFacts f;
  f.prefix = headerPrefixOf(options);
  f.note = options.note;
  f.sourceFile = file.fileName.string();
  f.session = file.header.session;
  f.modelName = datafile::modelNameOf(file);
  f.descriptions = file.header.descriptions;
  f.scaleTexts = file.tableForm ? std::array<std::string, 4>{} : file.header.scalingTexts;
  f.rate = file.rate;
  f.batteryText = datafile::batteryText(file);
  f.first = file.zoomed ? file.rangeFirst : file.header.first;
  f.last = file.zoomed ? file.rangeLast : file.header.last;
  f.transferred = file.header.transferred;
  f.pcTime = file.header.pcTime;
  f.averagingNote = averagingNote(options.averaging, file.samplesInRange, file.tableForm);
  f.channels = file.channels;
  f.unitTexts = file.unitTexts;
  return f;
}

Status exportLoadedFile(datafile::LoadedFile& file, const std::filesystem::path& target, const ExportOptions& options,
                        const std::filesystem::path& home) {
  if (target.empty()) return makeError(ErrorKind::Usage, "Please enter a file name in 'Save as'");
  if (sameFile(target, file.fileName) || sameFile(target, file.sourceFileName))
    return makeError(ErrorKind::Usage,
                     "Cannot write " + target.string() + ": it is the data file being exported");
  if (file.channels.empty()) return makeError(ErrorKind::InvalidData, "No data file is loaded");

  std::string tableContent;
  if (file.tableForm) {
    auto content = readTableSource(file.fileName, home);
    if (!content) return content.error();
    tableContent = std::move(*content);
  }

  auto sink = ExportSink::open(target);
  if (!sink) return sink.error();
  if (writesHeader(target, options.noHeader)) sink->append(formatExportHeader(headerFactsOf(file, options)));

  if (file.tableForm) {
    const std::size_t skip = file.zoomed ? file.rangeStart : 0;
    const std::optional<std::size_t> limit =
        file.zoomed ? std::optional<std::size_t>(file.samplesInRange) : std::nullopt;
    writeTableRows(*sink, tableContent, file.channels.size(), protocol::numericStampNeedsMilliseconds(file.rate),
                   options, skip, limit);
  } else {
    ImageSpan span;
    span.samples = &file.samples;
    span.firstIndex = file.zoomed ? file.rangeStart : 0;
    span.count = file.samplesInRange;
    const RowClock clock{file.firstTime.value_or(DateTime{}), file.rate};
    writeImageRows(*sink, file.converter, file.channels, clock, span, options);
  }
  return sink->commit();
}

Result<TableCopyWriter> TableCopyWriter::create(const std::filesystem::path& target, const HeaderFacts& header,
                                                bool dayFirst) {
  auto sink = ExportSink::open(target);
  if (!sink) return sink.error();
  ExportOptions options;
  options.csv = true;
  options.averaging = kEveryPoint;
  options.dayFirst = dayFirst;
  options.headerPrefix = '"';
  sink->append(formatExportHeader(header));
  return TableCopyWriter(std::move(*sink), std::move(options));
}

void TableCopyWriter::appendBank(protocol::UnitConverter& converter, const std::vector<int>& channels,
                                 const RowClock& clock, const std::vector<std::vector<std::uint16_t>>& samples,
                                 std::size_t count, std::size_t indexBase) {
  ImageSpan span;
  span.samples = &samples;
  span.count = count;
  span.indexBase = indexBase;
  writeImageRows(sink_, converter, channels, clock, span, options_);
}

Status TableCopyWriter::finish() { return sink_.commit(); }

namespace {

HeaderFacts tableCopyHeader(const datafile::LoadedFile& state) {
  ExportOptions options;
  options.headerPrefix = '"';
  HeaderFacts header = headerFactsOf(state, options);
  header.sourceFile = state.sourceFileName.empty() ? state.fileName.string() : state.sourceFileName.string();
  return header;
}

}  // namespace

bool isTableCopyOf(const std::filesystem::path& existing, const datafile::LoadedFile& state) {
  auto head = files::readPrefix(existing, 16384);
  if (!head) return false;
  const std::string expected = formatExportHeader(tableCopyHeader(state));
  const std::vector<std::string_view> have = datafile::splitLines(*head);
  const std::vector<std::string_view> want = datafile::splitLines(expected);
  if (have.size() <= 10 || want.size() <= 10) return false;
  // The source file by its name alone: the same file given another way
  // ("./site.qx1", a full path) is still the same file.
  const auto sourceName = [](std::string_view line) {
    const std::size_t slash = line.find_last_of("/\\");
    const std::size_t colon = line.find(": ");
    if (slash != std::string_view::npos) return line.substr(slash + 1);
    return colon == std::string_view::npos ? line : line.substr(colon + 2);
  };
  if (sourceName(have[2]) != sourceName(want[2])) return false;
  // Session, First and Last: what tells one download from another.
  for (const std::size_t line : {3u, 9u, 10u})
    if (have[line] != want[line]) return false;
  return true;
}

Status writeTableCopy(const datafile::LoggerDataFile& data, datafile::LoadedFile& state,
                      const std::filesystem::path& target, bool dayFirst) {
  const HeaderFacts header = tableCopyHeader(state);
  auto writer = TableCopyWriter::create(target, header, dayFirst);
  if (!writer) return writer.error();
  const RowClock clock{state.firstTime.value_or(DateTime{}), state.rate};
  std::size_t indexBase = 0;
  for (const datafile::DataBank& bank : data.banks) {
    writer->appendBank(state.converter, state.channels, clock, bank.samples, bank.loadedSamples(), indexBase);
    indexBase += bank.samplesPerChannel;
  }
  return writer->finish();
}

}  // namespace brevik::exporting
