// kaldo setup from-status FILE [--force] [--port DEVICE] [--trace[=FILE]]: reads a logger's
// status and saves its set-up as the setup form's "Etat" button and Save As
// would: the form filled from the status, collected into a record (the
// fields a status does not carry come from the built-in default), written
// to FILE.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/console_status_steps.h"
#include "cli/link_session.h"
#include "cli/status_printing.h"
#include "common/clock.h"
#include "link/status_reply_flow.h"
#include "setup/status_setup_view.h"
#include "setup/setup_file.h"
#include "setup/setup_model.h"

namespace brevik::cli {

int runSetupFromStatus(Context& ctx, const std::vector<std::string>& arguments) {
  constexpr const char* kName = "setup from-status";
  constexpr const char* kUsage = "usage: kaldo setup from-status FILE [--force] [--port DEVICE] [--trace[=FILE]]\n";
  std::ostream& err = *ctx.err;
  std::vector<std::string> args = arguments;
  LinkOptions linkOptions;
  if (auto problem = takeLinkOptions(args, linkOptions)) {
    err << "kaldo " << kName << ": " << *problem << "\n" << kUsage;
    return kExitUsage;
  }
  bool force = false;
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "--force") force = true;
    else if (!a.empty() && a[0] == '-') {
      err << "kaldo " << kName << ": unknown option '" << a << "'\n" << kUsage;
      return kExitUsage;
    } else files.push_back(a);
  }
  if (files.size() != 1) {
    err << kUsage;
    return kExitUsage;
  }
  const std::filesystem::path path(std::u8string(files[0].begin(), files[0].end()));
  std::error_code ec;
  if (!force && std::filesystem::exists(path, ec)) {
    err << "kaldo " << kName << ": " << files[0] << " exists; use --force to replace it\n";
    return kExitFailed;
  }

  settings::LoggerSettings settings = settings::loadSettings(ctx.home);
  const SystemClock clock;
  LinkSession session(ctx, kName, settings, linkOptions, clock);
  if (!session.ready()) return session.exitCode();
  ConsoleStatusSteps steps(settings, ctx.home, clock);
  link::StatusReplyFlow flow(session.engine(), steps);
  session.engine().setStatusReplyHandler(&flow);
  if (!session.run(link::ExchangeRequest{}) || !steps.status()) {
    err << "kaldo " << kName << ": no status was read; nothing written\n";
    session.explainFailure();
    return kExitFailed;
  }

  setup::LoggerConfiguration record = setup::LoggerConfiguration::builtInDefault(clock);
  setup::SetupModel form;
  form.applyFirmwareTexts(settings.LastRevision);
  form.populateFromStatus(setup::statusSetupView(*steps.status()));
  form.collect(record);
  if (auto written = setup::writeSetupFile(path, record); !written) {
    err << "kaldo " << kName << ": " << consoleText(written.error().message) << "\n";
    return kExitFailed;
  }
  *ctx.out << "wrote " << files[0] << "\n";
  return kExitOk;
}

}  // namespace brevik::cli
