#include "support/fake_serial_port.h"

#include <cstdio>

namespace brevik::testing {

std::string escapeBytes(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F && b != '\\') {
      out += c;
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", b);
      out += buf;
    }
  }
  return out;
}

void FakeSerialPort::record(std::string text) {
  events_.push_back({clock_ ? clock_->now() : 0, std::move(text)});
}

Status FakeSerialPort::open(link::PortNumber portNumber, std::uint32_t baudRate) {
  const std::string what = "open COM" + std::to_string(portNumber) + " " + std::to_string(baudRate);
  if (refuseOpen_) {
    record(what + " failed");
    return makeError(ErrorKind::PortUnavailable, *refuseOpen_);
  }
  if (open_) close();
  record(what);
  open_ = true;
  ++openCount_;
  portNumber_ = portNumber;
  baud_ = baudRate;
  lost_ = false;
  input_.clear();
  lineError_ = false;
  return {};
}

void FakeSerialPort::close() {
  if (!open_) return;
  record("close");
  open_ = false;
  dtr_ = false;
  input_.clear();
}

Status FakeSerialPort::setBaudRate(std::uint32_t baudRate) {
  record("baud " + std::to_string(baudRate));
  baud_ = baudRate;
  return {};
}

Status FakeSerialPort::setDtr(bool raised) {
  record(std::string("dtr ") + (raised ? "1" : "0"));
  if (!open_ || lost_) return makeError(ErrorKind::PortUnavailable, "Port not open");
  dtr_ = raised;
  return {};
}

Status FakeSerialPort::write(std::string_view bytes) {
  if (!open_ || lost_) {
    record("write " + escapeBytes(bytes) + " failed");
    return makeError(ErrorKind::PortUnavailable, "Port not open");
  }
  record("write " + escapeBytes(bytes));
  written_.append(bytes);
  if (onWrite) onWrite(bytes);
  return {};
}

std::string FakeSerialPort::readWaiting() {
  std::string out;
  out.swap(input_);
  return out;
}

bool FakeSerialPort::takeLineError() {
  const bool was = lineError_;
  lineError_ = false;
  return was;
}

void FakeSerialPort::flushInput() {
  record("flush in");
  input_.clear();
}

void FakeSerialPort::flushOutput() { record("flush out"); }

void FakeSerialPort::refuseOpen(std::string message) { refuseOpen_ = std::move(message); }

void FakeSerialPort::receive(std::string_view bytes) {
  if (!open_ || bytes.empty()) return;
  input_.append(bytes);
  if (dataArrived_) dataArrived_(input_.size());
}

std::vector<std::string> FakeSerialPort::log() const {
  std::vector<std::string> lines;
  for (const Event& e : events_) lines.push_back("[" + std::to_string(e.tick) + "] " + e.text);
  return lines;
}

}  // namespace brevik::testing
