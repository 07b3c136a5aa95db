#pragma once
// A real serial device for kaldo: QSerialPort on the device (whatever COM
// number the exchange opens) and real-time ticks, run by a Qt event loop.
// A QCoreApplication is created when the process has none, so kaldo needs
// no display. This header is free of Qt so that kaldo's commands can use it.

#include <memory>
#include <string>

#include "link/link_driver.h"

namespace brevik::platform {

std::unique_ptr<link::LinkDriver> makeQtLinkDriver(std::string device);

}  // namespace brevik::platform
