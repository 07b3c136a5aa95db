#include "setup/setup_document.h"

#include <algorithm>

#include "setup/header_configuration.h"
#include "setup/setup_file.h"

namespace brevik::setup {

namespace {

bool hasSetExtension(const std::filesystem::path& path) {
  std::string ext = displayName(path.extension());
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
  return ext == ".SET";
}

}  // namespace

Result<SetupDocument::Loaded> SetupDocument::load(const std::filesystem::path& path, const Clock& clock) {
  const std::string name = displayName(path.filename());
  if (isDataFileName(name)) {
    auto fromHeader = readConfigurationFromDataFile(path, current);
    if (!fromHeader) return fromHeader.error();
    current = *fromHeader;
    form.fileNameLabel = name;
    form.populateFromRecord(current, clock);
    saved = current;
    return Loaded{false};
  }
  auto record = readSetupFile(path);
  if (!record) {
    // The form still shows the record as it stands, which is then the saved state.
    form.populateFromRecord(current, clock);
    saved = current;
    return record.error();
  }
  current = *record;
  form.fileNameLabel = name;
  form.populateFromRecord(current, clock);
  saved = current;
  return Loaded{true};
}

Status SetupDocument::saveAs(const std::filesystem::path& path) {
  if (!hasSetExtension(path)) return makeError(ErrorKind::Usage, std::string(kNotSavedText));
  LoggerConfiguration collected = current;
  form.collect(collected);
  if (auto written = writeSetupFile(path, collected); !written) return written;
  current = collected;
  saved = current;
  form.fileNameLabel = displayName(path.filename());
  form.clearModified();
  return {};
}

SetupDocument::Startup SetupDocument::loadAtStartup(std::string_view setupFileName, const std::filesystem::path& home,
                                                    const Clock& clock) {
  Startup out{std::string(setupFileName), std::nullopt};
  if (auto record = readSetupFile(resolveSetupFileName(setupFileName, home))) {
    current = *record;
    form.fileNameLabel = std::string(fileNamePart(setupFileName));
  } else {
    out.notFound = setupFileNotFoundText(setupFileName);
    // The default stands even when it cannot be written.
    current = writeDefaultSetupFile(home, clock).record;
    out.setupFileName = std::string(kDefaultSetupName);
    form.fileNameLabel = std::string(kDefaultSetupName);
  }
  form.populateFromRecord(current, clock);
  saved = current;
  return out;
}

void SetupDocument::discardChanges() {
  form.clearModified();
  current = saved;
}

Status SetupDocument::loadNamedForSend(std::string_view nameWithoutExtension, const std::filesystem::path& home,
                                       const Clock& clock) {
  auto record = readSetupFile(namedSetupFilePath(nameWithoutExtension, home));
  if (!record) {
    return makeError(record.error().kind,
                     sendSetupNotFoundText(std::string(nameWithoutExtension) + ".set"));
  }
  current = *record;
  form.fileNameLabel = std::string(fileNamePart(nameWithoutExtension)) + ".set";
  form.populateFromRecord(current, clock);
  saved = current;
  form.collect(current);
  return {};
}

}  // namespace brevik::setup
