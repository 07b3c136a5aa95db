// kaldo change-baud BAUD [--port DEVICE] [--trace[=FILE]]: tells the logger to
// run at BAUD, as the main window's baud command does: the logger is woken
// at 28800 and asked at each slower rate in turn until it acknowledges. The
// Logger Settings' BaudRate becomes BAUD afterwards (also when the logger
// never answered, as the program does) and is saved, so that the next
// command talks at the new rate.

#include <ostream>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "settings/settings_dialog.h"
#include "cli/command.h"
#include "cli/console_writer.h"
#include "cli/console_link.h"
#include "cli/link_session.h"
#include "cli/logger_changes.h"
#include "common/clock.h"
#include "program/desktop_session.h"

namespace brevik::cli {

namespace {

constexpr const char* kName = "change-baud";
constexpr const char* kUsage = "usage: kaldo change-baud BAUD [--port DEVICE] [--trace[=FILE]]\n";

int run(Context& ctx) {
  std::ostream& err = *ctx.err;
  LinkOptions options;
  const auto value = takeOneValue(ctx.args, options, err, kName, kUsage);
  if (!value) return kExitUsage;
  const auto baud = parseLoggerBaud(*value);
  if (!baud) {
    err << "kaldo " << kName << ": '" << *value << "' is not a baud rate the logger runs at (" << loggerBaudList()
        << ")\n" << kUsage;
    return kExitUsage;
  }
  settings::LoggerSettings settings = settings::loadSettings(ctx.home);
  // The rates above 19200 exist only in the fast protocol, as the Settings
  // dialog says; the settings could not be left at such a rate.
  if (*baud > 19200 && settings.FastProtocol == 0) {
    err << "kaldo " << kName << ": " << settings::kBaudNeedsFastProtocolText
        << " (kaldo settings FastProtocol=1)\n";
    return kExitUsage;
  }
  if (settings.UseModem != 0) {
    *ctx.out << messageLines(program::kUncheckModemText);
    return kExitFailed;
  }

  const SystemClock clock;
  LinkSession session(ctx, kName, settings, options, clock);
  if (!session.ready()) return session.exitCode();
  const auto outcome = changeLoggerBaud(session, *baud);
  // An exchange cut short leaves the wake-up rate in BaudRate: nothing is saved.
  if (outcome) {
    settings::LoggerSettings stored = settings::loadSettings(ctx.home);
    stored.BaudRate = settings.BaudRate;
    if (Status saved = settings::saveSettings(ctx.home, stored, settingsNotice(err, "kaldo change-baud: ")); !saved) {
      err << "kaldo " << kName << ": " << saved.error().message << "\n";
      return kExitFailed;
    }
  }
  if (!outcome || !outcome->succeeded) {
    if (outcome) err << "kaldo " << kName << ": the settings now say BaudRate=" << settings.BaudRate << "\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

KALDO_COMMAND(kName, "BAUD [--port DEVICE] [--trace[=FILE]]",
              "tell the logger to run at BAUD (1200 to 57600) and make it the settings' rate", run);

}  // namespace brevik::cli
