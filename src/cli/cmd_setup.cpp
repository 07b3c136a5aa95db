// kaldo setup: setup files from the command line.
//
//     kaldo setup show FILE                 the record field by field, then what the setup form shows
//     kaldo setup new FILE [--force]        write the built-in default set-up
//     kaldo setup set FILE NAME=VALUE ...   change fields (all or nothing)
//
// FILE may also be a data file (.QX1) for show: the configuration of its
// header.
//     kaldo setup from-status FILE ...      a logger's set-up, read by a status (cmd_setup_from_status.cpp)

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/command.h"
#include "cli/json_documents.h"
#include "common/clock.h"
#include "common/cp1252.h"
#include "setup/header_configuration.h"
#include "setup/setup_fields.h"
#include "setup/setup_file.h"
#include "setup/setup_model.h"

namespace brevik::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: kaldo setup show FILE [--json]\n"
    "       kaldo setup new FILE [--force]\n"
    "       kaldo setup set FILE NAME=VALUE ...\n"
    "       kaldo setup from-status FILE [--force] [--port DEVICE] [--trace[=FILE]]\n";

fs::path argumentPath(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

Result<setup::LoggerConfiguration> readAnyConfiguration(const fs::path& path, const Clock& clock) {
  const std::string name = setup::displayName(path.filename());
  if (setup::isDataFileName(name))
    return setup::readConfigurationFromDataFile(path, setup::LoggerConfiguration::builtInDefault(clock));
  return setup::readSetupFile(path);
}

// What the setup form shows for the record, by the form's item names.
json::NamedTexts formTexts(const setup::LoggerConfiguration& record, const settings::LoggerSettings& settings,
                           const Clock& clock) {
  setup::LoggerConfiguration shown = record;
  setup::SetupModel form;
  form.applyFirmwareTexts(settings.LastRevision);
  form.populateFromRecord(shown, clock);
  form.prepare({false, false, 0, settings.LastModelCode, settings.LastRevision}, shown);
  json::NamedTexts texts;
  const auto line = [&texts](const std::string& name, std::string_view text) { texts.emplace_back(name, text); };
  line("RateItem", form.rateBox.text());
  line("StartItem", form.startBox.text());
  line("StopItem", form.runBox.text());
  for (int ch = 1; ch <= setup::kChannelCount; ++ch) {
    const auto i = static_cast<std::size_t>(ch - 1);
    line("Channel" + std::to_string(ch), form.onOffCaptions[i]);
    line("ScalingItem" + std::to_string(ch), form.scalingBoxes[i].text());
    line("InputItem" + std::to_string(ch), form.inputBoxes[i].text());
  }
  line("Model", form.modelBox.text());
  if (form.resolutionBox.visible) line("ResolutionItem", form.resolutionBox.text());
  line("Duration", form.durationText);
  return texts;
}

int showSetup(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() != 1) {
    *ctx.err << kUsage;
    return kExitUsage;
  }
  SystemClock clock;
  const auto record = readAnyConfiguration(argumentPath(args[0]), clock);
  if (!record) {
    *ctx.err << "kaldo setup: " << toUtf8(record.error().message) << "\n";
    return kExitFailed;
  }
  json::NamedTexts fields;
  for (const std::string& name : setup::configurationFieldNames())
    fields.emplace_back(name, setup::configurationFieldText(*record, name));
  const json::NamedTexts form = formTexts(*record, settings::loadSettings(ctx.home), clock);
  if (ctx.json) {
    json::printDocument(*ctx.out, json::setupDocument(fields, form));
    return kExitOk;
  }
  using Section = std::pair<const char*, const json::NamedTexts*>;
  for (const auto& [section, texts] : {Section{"[record]\n", &fields}, Section{"\n[form]\n", &form}}) {
    *ctx.out << section;
    for (const auto& [name, text] : *texts) *ctx.out << name << "=" << toUtf8(text) << "\n";
  }
  return kExitOk;
}

int newSetup(Context& ctx, const std::vector<std::string>& args) {
  std::vector<std::string> files;
  bool force = false;
  for (const std::string& a : args) {
    if (a == "--force") force = true;
    else files.push_back(a);
  }
  if (files.size() != 1) {
    *ctx.err << kUsage;
    return kExitUsage;
  }
  const fs::path path = argumentPath(files[0]);
  std::error_code ec;
  if (!force && fs::exists(path, ec)) {
    *ctx.err << "kaldo setup: " << files[0] << " exists; use --force to replace it\n";
    return kExitFailed;
  }
  SystemClock clock;
  if (auto written = setup::writeSetupFile(path, setup::LoggerConfiguration::builtInDefault(clock)); !written) {
    *ctx.err << "kaldo setup: " << toUtf8(written.error().message) << "\n";
    return kExitFailed;
  }
  *ctx.out << "wrote " << files[0] << "\n";
  return kExitOk;
}

int setFields(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() < 2) {
    *ctx.err << kUsage;
    return kExitUsage;
  }
  const fs::path path = argumentPath(args[0]);
  auto record = setup::readSetupFile(path);
  if (!record) {
    *ctx.err << "kaldo setup: " << toUtf8(record.error().message) << "\n";
    return kExitFailed;
  }
  setup::LoggerConfiguration changed = *record;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const auto eq = args[i].find('=');
    if (eq == std::string::npos || eq == 0) {
      *ctx.err << "kaldo setup: expected NAME=VALUE, got '" << args[i] << "'\n";
      return kExitUsage;
    }
    const std::string name = args[i].substr(0, eq);
    if (auto set = setup::setConfigurationField(changed, name, fromUtf8(args[i].substr(eq + 1))); !set) {
      *ctx.err << "kaldo setup: " << toUtf8(set.error().message) << "; nothing written\n";
      return kExitUsage;
    }
  }
  if (auto written = setup::writeSetupFile(path, changed); !written) {
    *ctx.err << "kaldo setup: " << toUtf8(written.error().message) << "\n";
    return kExitFailed;
  }
  *ctx.out << "wrote " << args[0] << "\n";
  return kExitOk;
}

}  // namespace

// With the exchanges, in cmd_setup_from_status.cpp.
int runSetupFromStatus(Context& ctx, const std::vector<std::string>& args);

namespace {

int runSetup(Context& ctx) {
  if (ctx.args.empty()) {
    *ctx.err << kUsage;
    return kExitUsage;
  }
  const std::string sub = ctx.args[0];
  const std::vector<std::string> rest(ctx.args.begin() + 1, ctx.args.end());
  if (ctx.json && sub != "show") {
    *ctx.err << "kaldo setup: --json goes with show\n" << kUsage;
    return kExitUsage;
  }
  if (sub == "show") return showSetup(ctx, rest);
  if (sub == "new") return newSetup(ctx, rest);
  if (sub == "set") return setFields(ctx, rest);
  if (sub == "from-status") return runSetupFromStatus(ctx, rest);
  *ctx.err << "kaldo setup: unknown subcommand '" << sub << "'\n" << kUsage;
  return kExitUsage;
}

KALDO_COMMAND("setup", "show FILE [--json] | new FILE [--force] | set FILE NAME=VALUE... | from-status FILE [--port DEVICE]",
              "show, create or change a setup file (.SET), or save a logger's set-up", runSetup,
              kPrintsJson);

}  // namespace

}  // namespace brevik::cli
