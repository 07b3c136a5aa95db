#pragma once
// The current Logger Configuration with its saved copy and the form that
// edits it: loading a setup file or a data file header, Save As, discarding
// changes, and reading a named setup file for a scheduled send. The program
// owns one of these for the whole run.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "common/result.h"
#include "setup/logger_configuration.h"
#include "setup/setup_model.h"

namespace brevik::setup {

inline constexpr std::string_view kNotSavedText = "File not saved; file name must end in '.SET'";

class SetupDocument {
 public:
  LoggerConfiguration current;
  LoggerConfiguration saved;  // as last loaded or written
  SetupModel form;

  // Load: a ".QX1" file gives the configuration of its header (a corrupt
  // header fails with "File corrupt or invalid" and changes nothing); any
  // other file is read as a setup file and becomes the current setup file
  // (`becameSetupFile`). A setup file that cannot be read fails with
  // "File I/O error: " + name, and the form is still filled from the record
  // as it stands. On success the form shows the file's name.
  struct Loaded {
    bool becameSetupFile = false;
  };
  Result<Loaded> load(const std::filesystem::path& path, const Clock& clock);

  // Save As: the form collected into the record and written. A name that
  // does not end in ".SET" (any case) writes nothing and fails with
  // "File not saved; file name must end in '.SET'".
  Status saveAs(const std::filesystem::path& path);

  // Start-up: the current setup file of the settings becomes the record. A
  // file that cannot be read gives "Setup File: " + name + " not found;"
  // and the built-in default, written to "default.set", which becomes the
  // current setup file. The form shows the file and the saved copy is kept.
  struct Startup {
    std::string setupFileName;             // what the settings now name
    std::optional<std::string> notFound;   // the message when the file could not be read
  };
  Startup loadAtStartup(std::string_view setupFileName, const std::filesystem::path& home, const Clock& clock);

  // "No" to "Save changes?": the record goes back to the saved copy.
  void discardChanges();

  // The send-named-setup-file operation, up to the send itself: reads the
  // name followed by ".set" from the home, fills the form, keeps the saved
  // copy and collects. Fails with "Impossible d'envoi  ; " + name +
  // " not found" and leaves everything as it was.
  Status loadNamedForSend(std::string_view nameWithoutExtension, const std::filesystem::path& home,
                          const Clock& clock);
};

}  // namespace brevik::setup
