// kaldo settings: shows the Logger Settings of the home's kvlog.ini, one
// field per line in record order, or changes fields by name. Every pair is
// checked before anything changes, so a bad pair leaves the file untouched.

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/json_documents.h"
#include "cli/console_writer.h"
#include "cli/status_printing.h"
#include "common/cp1252.h"

namespace brevik::cli {

namespace {

// The value as UTF-8 on one line: control characters (a CR inside a modem
// init string, a zero revision byte) are shown as \xNN.
std::string shownValue(const settings::LoggerSettings& settings, const settings::SettingField& field) {
  return consoleText(settings::settingText(settings, field));
}

void printFields(const settings::LoggerSettings& settings, const std::vector<const settings::SettingField*>& fields,
                 std::ostream& out, bool asJson) {
  if (asJson) return json::printDocument(out, json::settingsDocument(settings, fields));
  for (const settings::SettingField* f : fields) out << f->name << ": " << shownValue(settings, *f) << "\n";
}

int run(Context& ctx) {
  std::ostream& out = *ctx.out;
  std::ostream& err = *ctx.err;
  settings::LoggerSettings settings = settings::loadSettings(ctx.home);

  if (ctx.args.empty()) {
    std::vector<const settings::SettingField*> all;
    for (const settings::SettingField& f : settings::settingFields()) all.push_back(&f);
    printFields(settings, all, out, ctx.json);
    return kExitOk;
  }

  bool refused = false;
  std::vector<const settings::SettingField*> changed;
  for (const std::string& pair : ctx.args) {
    const std::size_t eq = pair.find('=');
    if (eq == std::string::npos || eq == 0) {
      err << "kaldo settings: '" << pair << "' is not NAME=VALUE\n";
      refused = true;
      continue;
    }
    const std::string name = pair.substr(0, eq);
    const std::string value = pair.substr(eq + 1);
    const settings::SettingField* field = settings::findSettingField(name);
    if (!field) {
      err << "kaldo settings: unknown setting '" << name
          << "' (run 'kaldo settings' to list the names)\n";
      refused = true;
      continue;
    }
    const std::string text = fromUtf8(value);
    if (toUtf8(text) != value) {
      err << "kaldo settings: " << field->name << ": '" << value
          << "' holds characters that Windows-1252 cannot store\n";
      refused = true;
      continue;
    }
    if (Status set = settings::setSettingFromText(settings, field->name, text); !set) {
      err << "kaldo settings: " << toUtf8(set.error().message) << "\n";
      refused = true;
      continue;
    }
    if (std::find(changed.begin(), changed.end(), field) == changed.end()) changed.push_back(field);
  }
  // The same rule as the Settings dialog: the rates above 19200 exist only in
  // the fast protocol (the program would switch it back on when it closes).
  const bool touchesSpeed = std::any_of(changed.begin(), changed.end(), [](const settings::SettingField* f) {
    return f->name == "BaudRate" || f->name == "FastProtocol";
  });
  if (!refused && touchesSpeed && settings.BaudRate > 19200 && settings.FastProtocol == 0) {
    err << "kaldo settings: BaudRate " << settings.BaudRate
        << " is only supported with FastProtocol=1 (the MT7xx protocol)\n";
    refused = true;
  }
  if (refused) {
    err << "kaldo settings: nothing was changed\n";
    return kExitUsage;
  }
  if (Status saved = settings::saveSettings(ctx.home, settings, settingsNotice(err, "kaldo settings: ")); !saved) {
    err << "kaldo settings: " << saved.error().message << "\n";
    return kExitFailed;
  }
  printFields(settings, changed, out, ctx.json);
  return kExitOk;
}

}  // namespace

KALDO_COMMAND("settings", "[NAME=VALUE ...]",
              "show the Logger Settings (kvlog.ini), or change fields by name", run,
              kPrintsJson);

}  // namespace brevik::cli
