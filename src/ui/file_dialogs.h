#pragma once
// Open and save dialogs as a port of the windows: the program asks with a
// request and gets back the chosen file (nothing when cancelled). The
// desktop shows QFileDialog; window tests answer from a script.

#include <QString>
#include <functional>
#include <optional>
#include <string_view>

class QWidget;

namespace brevik::ui {

struct FileDialogRequest {
  QString objectName;     // e.g. "OpenDialog1", for tests and screenshots
  QString title;
  QString directory;      // where the dialog starts (the program home)
  QString filter;         // Qt form: "All QX data (*.QX1);;QX2 data (*.QX2) (*.QX2)"
  QString defaultSuffix;  // without the dot; empty: none
  bool save = false;      // a save dialog (asks before overwriting a file)
};

using FileDialogs = std::function<std::optional<QString>(const FileDialogRequest&)>;

// A filter written as "Description|pattern|Description|pattern" in Qt's form.
QString qtFilterOf(std::string_view pipeFilter);

// QFileDialog, modal over `parent`.
FileDialogs nativeFileDialogs(QWidget* parent);

}  // namespace brevik::ui
