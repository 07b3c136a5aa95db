// kaldo decode-status FILE [--schedule LINE]: decodes one raw status reply
// (FILE, or - for standard input) with the home's Logger Settings and
// scaling tables and prints every text of the status form, one
// "Component: text" line each, in the form's order. Nothing is saved: the
// settings a logger read would change are left as they are.

#include <iostream>
#include <ostream>
#include <string>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/json_documents.h"
#include "cli/status_printing.h"
#include "program/status_decoding.h"
#include "common/clock.h"
#include "common/cp1252.h"
#include "common/files.h"
#include "protocol/dialout_schedule.h"
#include "protocol/status_decode.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "decode-status";

// One reply line: the line ending that closes it is not part of it.
std::string withoutLineEnd(std::string text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

int run(Context& ctx) {
  std::ostream& out = *ctx.out;
  std::ostream& err = *ctx.err;
  std::string file;
  std::optional<std::string> schedule;
  for (std::size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& a = ctx.args[i];
    if (a == "--schedule") {
      if (i + 1 >= ctx.args.size()) {
        err << "kaldo " << kName << ": --schedule needs a schedule reply line\n";
        return kExitUsage;
      }
      schedule = ctx.args[++i];
    } else if (file.empty() && (a == "-" || a.rfind("--", 0) != 0)) {
      file = a;
    } else {
      err << "kaldo " << kName << ": unexpected argument '" << a << "'\n";
      return kExitUsage;
    }
  }
  if (file.empty()) {
    err << "usage: kaldo " << kName << " FILE|- [--schedule LINE]\n";
    return kExitUsage;
  }

  std::string reply;
  if (file == "-") {
    reply.resize(protocol::kMaxStatusReplyBytes + 1);
    std::cin.read(reply.data(), static_cast<std::streamsize>(reply.size()));
    reply.resize(static_cast<std::size_t>(std::cin.gcount()));
    if (reply.size() > protocol::kMaxStatusReplyBytes) {
      err << "kaldo " << kName << ": " << files::tooLargeText("the standard input", protocol::kMaxStatusReplyBytes)
          << "\n";
      return kExitFailed;
    }
  } else {
    auto content = files::readBounded(file, protocol::kMaxStatusReplyBytes);
    if (!content) {
      err << "kaldo " << kName << ": " << content.error().message << "\n";
      return kExitFailed;
    }
    reply = std::move(*content);
  }
  reply = withoutLineEnd(std::move(reply));

  const settings::LoggerSettings settings = settings::loadSettings(ctx.home);
  const protocol::StatusSettings statusSettings = program::statusSettingsOf(settings);

  const SystemClock clock;
  const auto result =
      protocol::decodeStatusReply(reply, statusSettings, clock, protocol::homeTableReader(ctx.home));
  if (result.outcome == protocol::StatusOutcome::Rejected) {
    const std::string text = protocol::invalidResponseText(reply, "");
    err << "kaldo " << kName << ": " << consoleText(text.substr(0, text.find('\r'))) << "\n";
    return kExitFailed;
  }
  if (result.outcome == protocol::StatusOutcome::TableFailed) {
    err << "kaldo " << kName << ": " << toUtf8(result.tableError ? result.tableError->message : "") << "\n";
    return kExitFailed;
  }

  if (ctx.json) {
    const auto scheduleText = schedule ? std::optional(protocol::dialOutScheduleText(*schedule)) : std::nullopt;
    json::printDocument(out, json::statusDocument(result.status, statusSettings.twelveHourClock, scheduleText));
    return kExitOk;
  }
  printStatusForm(out, result.status, statusSettings.twelveHourClock);
  if (schedule) printScheduleText(out, protocol::dialOutScheduleText(*schedule));
  return kExitOk;
}

}  // namespace

KALDO_COMMAND(kName, "FILE|- [--schedule LINE]",
              "decode a raw status reply and print the texts of the status form", run, kPrintsJson);

}  // namespace brevik::cli
