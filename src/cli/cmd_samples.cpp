// kaldo samples FILE: the raw counts of a logger data file (.QX1), one line
// per sampling instant, the active channels in channel order separated by
// tabs, every bank in file order.

#include <ostream>
#include <string>

#include "cli/command.h"
#include "cli/data_file_arguments.h"
#include "common/cp1252.h"
#include "datafile/data_file_reader.h"

namespace brevik::cli {

namespace {

int runSamples(Context& ctx) {
  const auto name = singleFileArgument(ctx, "samples");
  if (!name) return kExitUsage;
  const auto file = datafile::readLoggerDataFile(*name);
  if (!file) {
    *ctx.err << "kaldo samples: " << toUtf8(file.error().message) << "\n";
    return kExitFailed;
  }
  std::string line;
  for (const datafile::DataBank& bank : file->banks) {
    for (std::size_t k = 0; k < bank.loadedSamples(); ++k) {
      line.clear();
      for (std::size_t j = 0; j < bank.samples.size(); ++j) {
        if (j > 0) line += '\t';
        line += std::to_string(bank.samples[j][k]);
      }
      line += '\n';
      *ctx.out << line;
    }
  }
  return ctx.out->good() ? kExitOk : kExitFailed;
}

KALDO_COMMAND("samples", "FILE", "print the raw counts of a logger data file (.QX1), one line per reading",
              runSamples);

}  // namespace

}  // namespace brevik::cli
