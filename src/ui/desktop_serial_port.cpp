#include "ui/desktop_serial_port.h"

#include "program/port_choice.h"
#include "platform/qt_serial_port.h"
#include "sim/logger_profile.h"
#include "sim/far_end.h"
#include "sim/virtual_serial_port.h"

namespace brevik::ui {

DesktopSerialPort::DesktopSerialPort(std::filesystem::path home, std::filesystem::path shippedSimDir,
                                     link::TickScheduler& ticks, const Clock& clock)
    : home_(std::move(home)), shippedSimDir_(std::move(shippedSimDir)), ticks_(ticks), clock_(clock) {}

DesktopSerialPort::~DesktopSerialPort() {
  close();
  virtual_.reset();  // before the twin it holds
  twin_.reset();
}

Status DesktopSerialPort::open(link::PortNumber portNumber, std::uint32_t baudRate) {
  close();
  device_ = program::deviceForPort(home_, portNumber);
  if (sim::simProfileOfDevice(device_)) {
    // The same virtual logger stays on the line from one exchange to the next.
    if (!virtual_ || profileName_ != device_) {
      auto loaded = program::virtualLoggerOf(device_, shippedSimDir_);
      if (!loaded)
        return makeError(ErrorKind::PortUnavailable, "COM" + std::to_string(portNumber) + " (" + device_ +
                                                         "): " + loaded.error().message);
      virtual_.reset();
      twin_ = sim::makeFarEnd(std::move(**loaded), clock_.now());
      virtual_ = std::make_unique<sim::VirtualSerialPort>(ticks_);
      virtual_->attach(*twin_);
      profileName_ = device_;
    }
    active_ = virtual_.get();
  } else {
    if (!qt_) qt_ = std::make_unique<platform::QtSerialPort>([this](link::PortNumber) { return device_; });
    active_ = qt_.get();
  }
  active_->setDataArrived(callback_);
  Status opened = active_->open(portNumber, baudRate);
  if (opened) baud_ = baudRate;
  return opened;
}

void DesktopSerialPort::close() {
  if (active_ != nullptr) active_->close();
}

bool DesktopSerialPort::isOpen() const { return active_ != nullptr && active_->isOpen(); }

Status DesktopSerialPort::setBaudRate(std::uint32_t baudRate) {
  baud_ = baudRate;
  if (active_ != nullptr) return active_->setBaudRate(baudRate);
  return {};
}

std::uint32_t DesktopSerialPort::baudRate() const { return active_ != nullptr ? active_->baudRate() : baud_; }

Status DesktopSerialPort::setDtr(bool raised) {
  if (active_ == nullptr) return makeError(ErrorKind::PortUnavailable, "the port is not open");
  return active_->setDtr(raised);
}

Status DesktopSerialPort::write(std::string_view bytes) {
  if (active_ == nullptr) return makeError(ErrorKind::PortUnavailable, "the port is not open");
  return active_->write(bytes);
}

std::size_t DesktopSerialPort::bytesWaiting() const { return active_ != nullptr ? active_->bytesWaiting() : 0; }

std::string DesktopSerialPort::readWaiting() { return active_ != nullptr ? active_->readWaiting() : std::string(); }

bool DesktopSerialPort::takeLineError() { return active_ != nullptr && active_->takeLineError(); }

void DesktopSerialPort::flushInput() {
  if (active_ != nullptr) active_->flushInput();
}

void DesktopSerialPort::flushOutput() {
  if (active_ != nullptr) active_->flushOutput();
}

void DesktopSerialPort::setDataArrived(DataArrived callback) {
  callback_ = std::move(callback);
  if (active_ != nullptr) active_->setDataArrived(callback_);
}

}  // namespace brevik::ui
