#pragma once
// The open/save dialog port for window tests: records each request and
// answers from a script: an empty answer, or none left, is a cancelled
// dialog.

#include <deque>
#include <QString>
#include <optional>
#include <vector>

#include "ui/file_dialogs.h"

namespace brevik::testing {

struct ScriptedFileDialogs {
  std::vector<ui::FileDialogRequest> requests;
  std::deque<QString> answers;
  ui::FileDialogs port = [this](const ui::FileDialogRequest& request) -> std::optional<QString> {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    const QString answer = answers.front();
    answers.pop_front();
    if (answer.isEmpty()) return std::nullopt;
    return answer;
  };

  ScriptedFileDialogs() = default;
  ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
  ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;
};

}  // namespace brevik::testing
