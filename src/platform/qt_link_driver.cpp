#include "platform/qt_link_driver.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "platform/qt_serial_port.h"
#include "platform/qt_tick_scheduler.h"

namespace brevik::platform {

namespace {

class QtLinkDriver final : public link::LinkDriver {
 public:
  explicit QtLinkDriver(std::string device)
      : app_(QCoreApplication::instance() ? nullptr : makeApplication()),
        port_([device = std::move(device)](link::PortNumber) { return device; }) {}

  link::SerialPort& port() override { return port_; }
  link::TickScheduler& ticks() override { return ticks_; }

  bool runUntil(const std::function<bool()>& done, link::Ticks limit) override {
    if (done()) return true;
    const link::Ticks end = ticks_.now() + limit;
    QEventLoop loop;
    // Events arrive through the port and the ticks; the end is looked for
    // a few times per tick rather than wired into every one of them.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (done() || ticks_.now() >= end) loop.quit();
    });
    watch.start(10);
    loop.exec();
    return done();
  }

 private:
  static std::unique_ptr<QCoreApplication> makeApplication() {
    static int argc = 1;
    static char name[] = "kaldo";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QCoreApplication>(argc, argv);
  }

  std::unique_ptr<QCoreApplication> app_;  // first in, last out
  QtTickScheduler ticks_;
  QtSerialPort port_;
};

}  // namespace

std::unique_ptr<link::LinkDriver> makeQtLinkDriver(std::string device) {
  return std::make_unique<QtLinkDriver>(std::move(device));
}

}  // namespace brevik::platform
