#pragma once
// What the setup window opens from its boxes, as a port: the scaling
// dialogs (with their calculators), the table chooser and the date dialog.
// Each returns what the user accepted, or nothing when cancelled; the
// desktop shows the real dialogs, window tests answer from a script.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "setup/logger_configuration.h"
#include "setup/scale_entry.h"

class QWidget;

namespace brevik {
class Clock;
class Prompter;
}  // namespace brevik

namespace brevik::ui {

struct SetupDialogs {
  // TLinscaleDlg (its calculators TAdjust1, TCloop and TLinTran inside): the
  // channel (1-4) and the text of its scaling box's linear item.
  std::function<std::optional<setup::ScalePair>(int channel, const std::string& linearItemText)> linearScale;
  // TContactDlg: the channel and the text of its contact item.
  std::function<std::optional<setup::ScalePair>(int channel, const std::string& contactItemText)> contactScale;
  // TSelectFile: a user scaling table of the home (its file name).
  std::function<std::optional<std::string>(int channel)> tableChooser;
  // TGetDate in preset and in dial-out mode. The dialog writes the record's
  // start and dial-out fields as the user changes them and returns the
  // start box's item text on OK.
  std::function<std::optional<std::string>(setup::LoggerConfiguration& config)> presetStart;
  std::function<std::optional<std::string>(setup::LoggerConfiguration& config)> dialOut;
};

// The desktop's dialogs, modal over `parent`: tables are chosen in `home`,
// messages go to `prompter`, dates are today's by `clock` and written in the
// user's locale (QLocale's default when the dialog opens). The prompter and
// the clock must outlive the functions. `help` is what the date dialog's
// and the chooser's Help buttons open.
SetupDialogs setupDialogsOf(QWidget* parent, const std::filesystem::path& home, Prompter& prompter,
                            const Clock& clock, std::function<void()> help = {});

}  // namespace brevik::ui
