#include "program/port_share.h"

namespace brevik::program {

namespace {
Status notOpen() { return makeError(ErrorKind::PortUnavailable, "the port is not open"); }
}  // namespace

PortShare::PortShare(link::SerialPort& device) : device_(device) {
  device_.setDataArrived([this](std::size_t waiting) {
    if (owner_ != nullptr && owner_->dataArrived_) owner_->dataArrived_(waiting);
  });
}

PortShare::~PortShare() { device_.setDataArrived({}); }

Status PortShare::Handle::open(link::PortNumber portNumber, std::uint32_t baudRate) {
  // The other user loses the device: what it had not read is not its own
  // any more.
  share_.owner_ = this;
  baud_ = baudRate;
  Status opened = share_.device_.open(portNumber, baudRate);
  if (!opened) share_.owner_ = nullptr;
  return opened;
}

void PortShare::Handle::close() {
  if (!owns()) return;
  share_.owner_ = nullptr;
  share_.device_.close();
}

bool PortShare::Handle::isOpen() const { return owns() && share_.device_.isOpen(); }

Status PortShare::Handle::setBaudRate(std::uint32_t baudRate) {
  baud_ = baudRate;
  return owns() ? share_.device_.setBaudRate(baudRate) : Status();
}

std::uint32_t PortShare::Handle::baudRate() const { return owns() ? share_.device_.baudRate() : baud_; }

Status PortShare::Handle::setDtr(bool raised) { return owns() ? share_.device_.setDtr(raised) : notOpen(); }

Status PortShare::Handle::write(std::string_view bytes) { return owns() ? share_.device_.write(bytes) : notOpen(); }

std::size_t PortShare::Handle::bytesWaiting() const { return owns() ? share_.device_.bytesWaiting() : 0; }

std::string PortShare::Handle::readWaiting() { return owns() ? share_.device_.readWaiting() : std::string(); }

bool PortShare::Handle::takeLineError() { return owns() && share_.device_.takeLineError(); }

void PortShare::Handle::flushInput() {
  if (owns()) share_.device_.flushInput();
}

void PortShare::Handle::flushOutput() {
  if (owns()) share_.device_.flushOutput();
}

}  // namespace brevik::program
