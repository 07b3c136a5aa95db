#include "platform/gui_application.h"

#include <QApplication>

namespace brevik::platform {

namespace {

std::unique_ptr<QApplication> makeApplication() {
  if (QCoreApplication::instance()) return nullptr;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // QApplication keeps references to both for its whole life.
  static int argc = 1;
  static char name[] = "kaldo";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QApplication>(argc, argv);
}

}  // namespace

GuiApplicationScope::GuiApplicationScope() : app_(makeApplication()) {}

GuiApplicationScope::~GuiApplicationScope() = default;

bool GuiApplicationScope::ready() const { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace brevik::platform
