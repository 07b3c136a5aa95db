#pragma once
// The Prompter on QMessageBox: the four kinds with their icons, the fixed
// button sets, and a Help button that opens the help page of the topic and
// leaves the message open.

#include <functional>

#include "common/prompter.h"

class QWidget;

namespace brevik::ui {

class QtPrompter final : public Prompter {
 public:
  using OpenHelp = std::function<void(int topic)>;

  QtPrompter(QWidget* parent, OpenHelp openHelp) : parent_(parent), openHelp_(std::move(openHelp)) {}

  Answer ask(const Message& message) override;

 private:
  QWidget* parent_;
  OpenHelp openHelp_;
};

}  // namespace brevik::ui
