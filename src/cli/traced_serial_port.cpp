#include "cli/traced_serial_port.h"

#include <string>

namespace brevik::cli {

Status TracedSerialPort::traced(Status status) {
  if (!status) trace_.event("port error: " + status.error().message);
  return status;
}

Status TracedSerialPort::open(link::PortNumber portNumber, std::uint32_t baudRate) {
  trace_.event("open COM" + std::to_string(portNumber) + " @" + std::to_string(baudRate));
  return traced(port_.open(portNumber, baudRate));
}

void TracedSerialPort::close() {
  if (port_.isOpen()) trace_.event("close");
  port_.close();
}

Status TracedSerialPort::setBaudRate(std::uint32_t baudRate) {
  trace_.event("baud " + std::to_string(baudRate));
  return traced(port_.setBaudRate(baudRate));
}

Status TracedSerialPort::setDtr(bool raised) {
  trace_.event(raised ? "dtr 1" : "dtr 0");
  return traced(port_.setDtr(raised));
}

Status TracedSerialPort::write(std::string_view bytes) {
  trace_.sent(bytes);
  return traced(port_.write(bytes));
}

std::string TracedSerialPort::readWaiting() {
  std::string bytes = port_.readWaiting();
  if (!bytes.empty()) trace_.received(bytes);
  return bytes;
}

}  // namespace brevik::cli
