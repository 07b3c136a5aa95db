#pragma once
// Drawing a chart needs a QApplication. A command-line run has none: this
// makes one for as long as the scope lives, on the offscreen platform unless
// QT_QPA_PLATFORM names another, and leaves an existing one alone.

#include <memory>

class QApplication;

namespace brevik::platform {

class GuiApplicationScope {
 public:
  GuiApplicationScope();
  ~GuiApplicationScope();
  GuiApplicationScope(const GuiApplicationScope&) = delete;
  GuiApplicationScope& operator=(const GuiApplicationScope&) = delete;

  // False when the process already runs a non-GUI QCoreApplication.
  bool ready() const;

 private:
  std::unique_ptr<QApplication> app_;
};

}  // namespace brevik::platform
