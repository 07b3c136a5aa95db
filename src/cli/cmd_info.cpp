// kaldo info FILE: what a logger data file (.QX1) holds, field by field: the
// header as the logger reported it, the channels on, the resolution, whether
// the memory had wrapped, and how many samples each bank gives per channel.

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "cli/data_file_arguments.h"
#include "cli/json_documents.h"
#include "common/bytes.h"
#include "common/cp1252.h"
#include "datafile/data_file_reader.h"
#include "protocol/vocabulary.h"

namespace brevik::cli {

namespace {

std::string trimmed(std::string_view text) {
  const std::string right = bytes::trimmedRight(text);
  return right.substr(std::min(right.size(), right.find_first_not_of(' ')));
}

std::string_view formText(datafile::TypeLineForm form) {
  switch (form) {
    case datafile::TypeLineForm::SingleCode: return "one type code (older file)";
    case datafile::TypeLineForm::FourCodes: return "four type codes (older file)";
    case datafile::TypeLineForm::Full: return "full";
  }
  return "";
}

void printInfo(std::ostream& out, const std::string& name, const datafile::LoggerDataFile& f) {
  const datafile::DataFileHeaderFields& h = f.header;
  const auto field = [&out](std::string_view label, std::string_view value) {
    std::string head(label);
    head += ':';
    if (head.size() < 22) head.resize(22, ' ');
    out << head << toUtf8(value) << "\n";
  };
  const auto character = [](char c) { return std::string(1, c); };

  field("File", fromUtf8(name));
  field("Type line", formText(f.typeLineForm));
  field("Reference resistor", std::to_string(h.referenceOhms) + " ohms");
  field("Type codes", std::string{h.typeCodes[0], ' ', h.typeCodes[1], ' ', h.typeCodes[2], ' ', h.typeCodes[3]});
  if (f.typeLineForm == datafile::TypeLineForm::Full) {
    field("Revision", character(h.revision));
    field("Model code", character(h.modelCode));
    field("Model", protocol::modelName(h.modelCode, f.resolutionCode == protocol::kResolution12Bit,
                                       f.resolutionCode == protocol::kResolution10Bit));
    std::string modes;
    for (int c = 1; c <= 4; ++c) {
      const std::string_view text = protocol::inputModeStatusText(protocol::inputModeOf(h.inputModes, c));
      modes += (c > 1 ? ", " : "") + std::to_string(c) + "=" + (text.empty() ? std::to_string(protocol::inputModeOf(h.inputModes, c)) : std::string(text));
    }
    field("Input modes", modes);
    char volts[16];
    std::snprintf(volts, sizeof volts, "%.1f volts", static_cast<double>(h.batteryVolts));
    field("Battery", volts);
    field("Last bank", character(h.lastBank));
  }
  field("First", h.first);
  field("Last", h.last);
  field("Session", bytes::trimmedRight(h.session));
  field("Transferred", h.transferred);
  field("Eq. PC time", h.pcTime);
  for (int c = 0; c < 4; ++c)
    field("Description " + std::to_string(c + 1), bytes::trimmedRight(h.descriptions[static_cast<std::size_t>(c)]));
  field("Status flags", std::to_string(h.statusFlags));
  const auto rate = protocol::rateText(h.rateCode);
  field("Rate code", std::to_string(protocol::byteOf(h.rateCode)) +
                         (rate ? " (" + trimmed(*rate) + ")" : std::string()));
  field("Channel bits", std::to_string(h.channelBits));
  field("Memory pointer", std::to_string(h.memoryPointer));
  if (f.hasPhaseByte) field("Phase byte", std::to_string(h.phaseByte));
  for (int c = 0; c < 4; ++c)
    field("Scaling " + std::to_string(c + 1), "\"" + h.scalingTexts[static_cast<std::size_t>(c)] + "\"");

  std::string channels;
  for (int c : f.channels) channels += (channels.empty() ? "" : " ") + std::to_string(c);
  field("Channels", channels);
  field("Resolution", protocol::resolutionText(f.resolutionCode));
  field("Wrap mode", f.wrapMode ? "yes, phase " + std::to_string(f.phase) : std::string("no"));
  for (const datafile::DataBank& bank : f.banks) {
    std::string text = std::to_string(bank.samplesPerChannel) + " samples per channel";
    if (bank.loadedSamples() != bank.samplesPerChannel)
      text += " (" + std::to_string(bank.loadedSamples()) + " in the file)";
    field(std::string("Bank ") + bank.letter, text);
  }
}

int runInfo(Context& ctx) {
  const auto name = singleFileArgument(ctx, "info");
  if (!name) return kExitUsage;
  const auto file = datafile::readLoggerDataFile(*name);
  if (!file) {
    *ctx.err << "kaldo info: " << toUtf8(file.error().message) << "\n";
    return kExitFailed;
  }
  for (const std::string& warning : file->stampWarnings) *ctx.err << "kaldo info: " << warning << "\n";
  if (ctx.json)
    json::printDocument(*ctx.out, json::dataFileDocument(name->string(), *file));
  else
    printInfo(*ctx.out, name->string(), *file);
  return kExitOk;
}

KALDO_COMMAND("info", "FILE", "show the header, channels and banks of a logger data file (.QX1)", runInfo,
              kPrintsJson);

}  // namespace

}  // namespace brevik::cli
