#include "cli/export_output.h"

#include <ostream>
#include <system_error>

#include "cli/json_documents.h"
#include "cli/json_output.h"
#include "common/cp1252.h"
#include "common/files.h"
#include "program/auto_export.h"
#include "program/export_target.h"
#include "settings/logger_settings.h"

namespace brevik::cli {

namespace {

constexpr const char* kPrefix = "kaldo export: ";

// The export is written to a file of its own first, so that standard output
// gets either the whole table or, after a failure, nothing.
std::filesystem::path standardOutputStage(bool csv) {
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
  if (ec) dir = ".";
  // The temporary name carries the process id already.
  std::filesystem::path stage = files::temporarySibling(dir / "kaldo-export");
  stage += csv ? ".csv" : ".txt";
  return stage;
}

}  // namespace

int exportToTarget(Context& ctx, const std::filesystem::path& source, const std::string& target,
                   exporting::ExportOptions options, bool force) {
  const bool toStandardOutput = target == "-";
  if (toStandardOutput && ctx.json) {
    // Standard output carries the table then; a document would corrupt it.
    *ctx.err << kPrefix << "--json cannot go with '-' as the output\n";
    return kExitUsage;
  }
  const std::filesystem::path written = toStandardOutput ? standardOutputStage(options.csv) : std::filesystem::path(target);
  if (!toStandardOutput) {
    if (auto refusal = program::exportTargetRefusal(written, force)) {
      *ctx.err << kPrefix << toUtf8(*refusal) << "\n";
      return kExitFailed;
    }
  }

  const settings::LoggerSettings settings = settings::loadSettings(ctx.home);
  options.dayFirst = settings.ExportDayFirst != 0;
  auto done = program::exportDataFile(source, written, options, settings, ctx.home);
  if (!done) {
    *ctx.err << kPrefix << toUtf8(done.error().message) << "\n";
    return kExitFailed;
  }
  for (const std::string& notice : *done) *ctx.err << kPrefix << toUtf8(notice) << "\n";
  if (!toStandardOutput) {
    if (ctx.json)
      json::printDocument(*ctx.out, json::exportDocument(source.string(), target, options, *done));
    else
      *ctx.out << target << " saved to disk\n";
    return kExitOk;
  }
  auto table = files::readAll(written);
  std::error_code ignored;
  std::filesystem::remove(written, ignored);
  if (!table) {
    *ctx.err << kPrefix << toUtf8(table.error().message) << "\n";
    return kExitFailed;
  }
  ctx.dataOut->write(table->data(), static_cast<std::streamsize>(table->size()));
  ctx.dataOut->flush();
  if (!*ctx.dataOut) {
    *ctx.err << kPrefix << "writing to the standard output failed\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace brevik::cli
