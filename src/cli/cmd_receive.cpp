// kaldo receive FILE.qx1 [--port DEVICE] [--trace[=FILE]]: downloads a
// logger's memory into a data file with the home's Logger Settings, as the
// program's receive command does. Progress (the blocks received) goes to
// standard error, the final message to standard output. Exit status 0 only
// when the data file was written; a failed or stopped transfer leaves an
// earlier file of that name as it was.

#include <ostream>
#include <string>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/json_documents.h"
#include "cli/link_assembly.h"
#include "cli/receive_exchange.h"
#include "common/clock.h"
#include "common/files.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "receive";
constexpr const char* kSynopsis = "FILE.qx1 [--port DEVICE] [--trace[=FILE]]";

struct Options {
  std::string file;
  LinkOptions link;
};

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::ostream& err) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    switch (takeLinkOption(args, i, o.link)) {
      case OptionTaken::Yes:
        continue;
      case OptionTaken::Malformed:
        err << "kaldo " << kName << ": --port needs a device\n";
        return std::nullopt;
      case OptionTaken::No:
        break;
    }
    if (args[i].rfind("--", 0) == 0 || !o.file.empty()) {
      err << "kaldo " << kName << ": unexpected argument '" << args[i] << "'\n";
      return std::nullopt;
    }
    o.file = args[i];
  }
  if (o.file.empty()) {
    err << "kaldo " << kName << ": no data file named\n";
    return std::nullopt;
  }
  return o;
}

int run(Context& ctx) {
  std::ostream& err = *ctx.err;
  const auto options = parseOptions(ctx.args, err);
  if (!options) {
    err << "usage: kaldo " << kName << " " << kSynopsis << "\n";
    return kExitUsage;
  }

  // Before the logger is woken: a download must never end at a rename.
  if (Status writable = files::checkWritableTarget(options->file); !writable) {
    err << "kaldo " << kName << ": " << writable.error().message << "\n";
    return kExitFailed;
  }
  settings::LoggerSettings settings = settings::loadSettings(ctx.home);
  const SystemClock clock;
  LinkAssembly link;
  if (const auto failed = assembleLink(ctx, kName, settings, options->link, clock, link)) return *failed;
  ReceiveRecord record;
  const int status = runReceiveExchange(ctx, settings, *link.driver, link.traceSink.get(), clock, options->file,
                                        ctx.json ? &record : nullptr);
  if (status != kExitOk) explainFailedLink(ctx, kName, settings, link);
  else if (record.outcome)
    json::printDocument(*ctx.out, json::receiveDocument(options->file, *record.outcome, record.messages, record.exportMessages));
  return status;
}

}  // namespace

KALDO_COMMAND(kName, kSynopsis,
              "download a logger's memory into a data file (the port map's device, or --port "
              "DEVICE; sim[:PROFILE] is the virtual logger)",
              run, kPrintsJson);

}  // namespace brevik::cli
