#include "ui/file_dialogs.h"

#include <QFileDialog>
#include <QStringList>

#include "ui/text.h"

namespace brevik::ui {

QString qtFilterOf(std::string_view pipeFilter) {
  const QStringList parts = fromCp(pipeFilter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // Qt reads the patterns from the last parentheses of each entry.
    // File names on Linux and macOS are case-sensitive while the patterns
    // were written for Windows: each pattern also matches in lower case.
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      patterns << pattern;
      if (pattern.toLower() != pattern) patterns << pattern.toLower();
    }
    filters << QString("%1 (%2)").arg(parts[i], patterns.join(' '));
  }
  return filters.join(";;");
}

FileDialogs nativeFileDialogs(QWidget* parent) {
  return [parent](const FileDialogRequest& request) -> std::optional<QString> {
    QFileDialog dlg(parent, request.title, request.directory, request.filter);
    dlg.setObjectName(request.objectName);
    dlg.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!request.save) dlg.setFileMode(QFileDialog::ExistingFile);
    if (!request.defaultSuffix.isEmpty()) dlg.setDefaultSuffix(request.defaultSuffix);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return dlg.selectedFiles().front();
  };
}

}  // namespace brevik::ui
