// kaldo send-setup FILE [--port DEVICE] [--labels-only] [--yes] [--trace[=FILE]]
//
// Checks the set-up of a .SET file as the setup form's Send button does,
// asking each question on the terminal (or answering OK to each with --yes),
// then sends it to the logger with the home's Logger Settings. The firmware
// the messages are built for is `LastRevision`, the last logger seen.
// --labels-only sends only the descriptions and scaling ("Change Scaling
// and/or Labels"): the logger keeps recording and nothing is asked.

#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#define BREVIK_ISATTY _isatty
#define BREVIK_STDIN 0
#else
#include <unistd.h>
#define BREVIK_ISATTY isatty
#define BREVIK_STDIN STDIN_FILENO
#endif

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/link_session.h"
#include "cli/status_printing.h"
#include "common/clock.h"
#include "program/send_setup.h"
#include "program/setup_configuration_source.h"
#include "setup/setup_file.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "send-setup";
constexpr const char* kUsage =
    "usage: kaldo send-setup FILE [--port DEVICE] [--labels-only] [--yes] [--trace[=FILE]]\n";

// The checks before a send, asked on the terminal: OK-only boxes are shown,
// questions wait for an answer ("ok" sends on, anything else cancels).
class TerminalQuestions final : public Prompter {
 public:
  TerminalQuestions(std::ostream& out, std::istream& in, bool answerOk) : out_(out), in_(in), answerOk_(answerOk) {}

  Answer ask(const Message& message) override {
    if (message.buttons == Buttons::Ok) {
      out_ << messageLines(message.text);
      return Answer::Ok;
    }
    out_ << "? " << consoleText(message.text) << "\n";
    if (answerOk_) {
      out_ << "  [OK/Cancel] OK (--yes)\n";
      return Answer::Ok;
    }
    out_ << "  [OK/Cancel] " << std::flush;
    std::string reply;
    if (!std::getline(in_, reply)) return Answer::Cancel;
    for (char& c : reply) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return reply == "ok" || reply == "o" || reply == "y" || reply == "yes" ? Answer::Ok : Answer::Cancel;
  }

 private:
  std::ostream& out_;
  std::istream& in_;
  bool answerOk_;
};

int run(Context& ctx) {
  std::ostream& err = *ctx.err;
  std::vector<std::string> args = ctx.args;
  LinkOptions linkOptions;
  if (auto problem = takeLinkOptions(args, linkOptions)) {
    err << "kaldo " << kName << ": " << *problem << "\n" << kUsage;
    return kExitUsage;
  }
  bool labelsOnly = false;
  bool yes = false;
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "--labels-only") labelsOnly = true;
    else if (a == "--yes") yes = true;
    else if (!a.empty() && a[0] == '-') {
      err << "kaldo " << kName << ": unknown option '" << a << "'\n" << kUsage;
      return kExitUsage;
    } else files.push_back(a);
  }
  if (files.size() != 1) {
    err << kUsage;
    return kExitUsage;
  }
  if (!labelsOnly && !yes && !BREVIK_ISATTY(BREVIK_STDIN)) {
    err << "kaldo " << kName << ": sending a set-up erases the logger's memory, and the checks before it ask "
        << "questions; run it on a terminal, or answer OK to every question with --yes\n";
    return kExitUsage;
  }

  const std::filesystem::path path(std::u8string(files[0].begin(), files[0].end()));
  auto configuration = setup::readSetupFile(path);
  if (!configuration) {
    err << "kaldo " << kName << ": " << consoleText(configuration.error().message) << "\n";
    return kExitFailed;
  }

  settings::LoggerSettings settings = settings::loadSettings(ctx.home);
  // The success message names the set-up sent; kvlog.ini is not written.
  settings.SetupFileName = setup::displayName(path);
  const SystemClock clock;
  LinkSession session(ctx, kName, settings, linkOptions, clock);
  if (!session.ready()) return session.exitCode();

  program::SetupConfigurationSource source(*configuration, settings, session.engine().context(), clock);
  session.engine().setConfigurationSource(&source);

  TerminalQuestions questions(*ctx.out, std::cin, yes);
  bool started = false;
  link::ExchangeRequest request;
  request.labelsOnly = labelsOnly;
  const auto outcome = session.run(link::ExchangeKind::SendSetup, [&](link::OutcomeCallback done) {
    started = program::validateAndSend(session.engine(), *configuration, questions, clock, false, request,
                                       std::move(done));
    return started;
  });
  if (!started) {
    err << "kaldo " << kName << ": not sent\n";
    return kExitFailed;
  }
  if (!outcome || !outcome->succeeded) {
    session.explainFailure();
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

KALDO_COMMAND(kName, "FILE [--port DEVICE] [--labels-only] [--yes] [--trace[=FILE]]",
              "check a .SET file and send it to the logger (asks before erasing its memory; --yes answers OK)",
              run);

}  // namespace brevik::cli
