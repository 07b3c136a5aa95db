#include "setup/setup_file.h"

#include <algorithm>
#include <cctype>

#include "common/cp1252.h"
#include "common/files.h"

namespace brevik::setup {

namespace fs = std::filesystem;

namespace {

fs::path pathFromText(std::string_view cp1252) {
  const std::string utf8 = toUtf8(cp1252);
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string asciiLower(std::string_view text) {
  std::string s(text);
  std::transform(s.begin(), s.end(), s.begin(), [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return s;
}

}  // namespace

std::string_view fileNamePart(std::string_view name) {
  const auto slash = name.find_last_of("/\\");
  return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

fs::path resolveSetupFileName(std::string_view setupFileName, const fs::path& home) {
  const std::string lowered = asciiLower(fileNamePart(setupFileName));
  if (lowered == kDefaultSetupName || lowered == kAllOffSetupName) return home / lowered;
  return home / pathFromText(setupFileName);  // an absolute name replaces the home
}

fs::path namedSetupFilePath(std::string_view nameWithoutExtension, const fs::path& home) {
  return home / pathFromText(std::string(nameWithoutExtension) + ".set");
}

std::string fileIoErrorText(std::string_view fileName) { return "File I/O error: " + std::string(fileName); }

std::string sendSetupNotFoundText(std::string_view fileName) {
  return "Impossible d'envoi  ; " + std::string(fileName) + " not found";
}

std::string setupFileNotFoundText(std::string_view fileName) {
  return "Setup File: " + std::string(fileName) + " not found;";
}

std::string displayName(const fs::path& path) {
  const std::u8string u8 = path.u8string();
  return fromUtf8(std::string_view(reinterpret_cast<const char*>(u8.data()), u8.size()));
}

Result<LoggerConfiguration> readSetupFile(const fs::path& path) {
  const std::string message = fileIoErrorText(displayName(path));
  // Reading only what the record needs keeps a wrongly chosen huge file cheap.
  auto bytes = files::readPrefix(path, kConfigurationSize);
  if (!bytes)
    return makeError(bytes.error().kind == ErrorKind::NotFound ? ErrorKind::NotFound : ErrorKind::Io,
                     message + " (" + fromUtf8(bytes.error().message) + ")");
  auto record = LoggerConfiguration::fromBytes(*bytes);
  if (!record)
    return makeError(ErrorKind::InvalidData, message + " (it holds " + std::to_string(bytes->size()) + " of " +
                                                 std::to_string(kConfigurationSize) + " bytes)");
  return record;
}

Status writeSetupFile(const fs::path& path, const LoggerConfiguration& record) {
  auto written = files::writeFileAtomically(path, record.toBytes());
  if (!written)
    return makeError(ErrorKind::Io,
                     fileIoErrorText(displayName(path)) + " (" + fromUtf8(written.error().message) + ")");
  return {};
}

DefaultSetup writeDefaultSetupFile(const fs::path& home, const Clock& clock) {
  DefaultSetup result{LoggerConfiguration::builtInDefault(clock), {}};
  result.written = writeSetupFile(home / kDefaultSetupName, result.record);
  return result;
}

LoggerConfiguration allOffConfiguration(const Clock& clock) {
  LoggerConfiguration c = LoggerConfiguration::builtInDefault(clock);
  for (int ch = 1; ch <= kChannelCount; ++ch) c.setChannelOn(ch, false);
  return c;
}

}  // namespace brevik::setup
