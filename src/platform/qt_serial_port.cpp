#include "platform/qt_serial_port.h"

#include <QString>

namespace brevik::platform {

QtSerialPort::QtSerialPort(DeviceOf deviceOf) : deviceOf_(std::move(deviceOf)) {
  QObject::connect(&serial_, &QSerialPort::readyRead, [this] { onReadyRead(); });
  QObject::connect(&serial_, &QSerialPort::errorOccurred,
                   [this](QSerialPort::SerialPortError e) { onError(e); });
}

QtSerialPort::~QtSerialPort() {
  dataArrived_ = {};
  serial_.disconnect();
  if (serial_.isOpen()) serial_.close();
}

Error QtSerialPort::lost(std::string_view what) const {
  return Error{ErrorKind::PortUnavailable, std::string(what) + " " + device_};
}

Status QtSerialPort::open(link::PortNumber portNumber, std::uint32_t baudRate) {
  close();
  device_ = deviceOf_ ? deviceOf_(portNumber) : std::string();
  baud_ = baudRate;
  vanished_ = false;
  received_.clear();
  // A typed path is taken as it stands (ptys are not listed by the system).
  serial_.setPortName(QString::fromStdString(device_));
  // Framing must be set before opening: a pty refuses some of it once open.
  serial_.setDataBits(QSerialPort::Data8);
  serial_.setParity(QSerialPort::NoParity);
  serial_.setStopBits(QSerialPort::OneStop);
  serial_.setFlowControl(QSerialPort::NoFlowControl);
  serial_.setBaudRate(static_cast<qint32>(baudRate));
  lastError_ = QSerialPort::NoError;
  lastErrorText_.clear();
  if (device_.empty() || !serial_.open(QIODevice::ReadWrite)) {
    // Missing, busy or not a serial device: all "the port cannot be opened".
    const std::string reason = lastErrorText_.empty() ? "no such device" : lastErrorText_;
    serial_.clearError();
    return makeError(ErrorKind::PortUnavailable, "cannot open " + device_ + ": " + reason);
  }
  // Some drivers take the speed only once open.
  serial_.setBaudRate(static_cast<qint32>(baudRate));
  serial_.clearError();
  return {};
}

void QtSerialPort::close() {
  if (!serial_.isOpen()) return;
  // Whatever is queued goes out before the line is let go.
  serial_.flush();
  serial_.close();
  serial_.clearError();
  received_.clear();
}

bool QtSerialPort::isOpen() const { return serial_.isOpen(); }

Status QtSerialPort::setBaudRate(std::uint32_t baudRate) {
  baud_ = baudRate;
  if (!serial_.isOpen()) return {};
  if (!serial_.setBaudRate(static_cast<qint32>(baudRate))) {
    serial_.clearError();
    return makeError(ErrorKind::PortUnavailable, "cannot set " + std::to_string(baudRate) +
                                                     " baud on " + device_);
  }
  return {};
}

Status QtSerialPort::setDtr(bool raised) {
  if (!serial_.isOpen()) return (lost("port closed:"));
  if (!serial_.setDataTerminalReady(raised)) {
    // A pseudo-terminal has no DTR line (UnsupportedOperationError) and
    // keeps working: only a device that went away is a port failure.
    serial_.clearError();
    if (!serial_.isOpen()) return lost("device lost:");
  }
  return {};
}

Status QtSerialPort::write(std::string_view bytes) {
  if (!serial_.isOpen()) return (lost(vanished_ ? "device lost:" : "port closed:"));
  const qint64 n = serial_.write(bytes.data(), static_cast<qint64>(bytes.size()));
  if (n != static_cast<qint64>(bytes.size())) {
    serial_.clearError();
    return (lost("write failed on"));
  }
  return {};
}

std::size_t QtSerialPort::bytesWaiting() const {
  return static_cast<std::size_t>(received_.size()) +
         (serial_.isOpen() ? static_cast<std::size_t>(serial_.bytesAvailable()) : 0);
}

std::string QtSerialPort::readWaiting() {
  if (serial_.isOpen()) received_.append(serial_.readAll());
  std::string bytes(received_.constData(), static_cast<std::size_t>(received_.size()));
  received_.clear();
  return bytes;
}

void QtSerialPort::flushInput() {
  received_.clear();
  if (!serial_.isOpen()) return;
  serial_.readAll();
  if (!serial_.clear(QSerialPort::Input)) serial_.clearError();
}

void QtSerialPort::flushOutput() {
  if (serial_.isOpen() && !serial_.clear(QSerialPort::Output)) serial_.clearError();
}

void QtSerialPort::onReadyRead() {
  received_.append(serial_.readAll());
  if (received_.isEmpty()) return;
  if (dataArrived_) dataArrived_(static_cast<std::size_t>(received_.size()));
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
  if (error != QSerialPort::NoError) {
    lastError_ = error;
    lastErrorText_ = serial_.errorString().toStdString();
  }
  switch (error) {
    case QSerialPort::NoError:
      return;
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
      // The device went away; QSerialPort repeats this until closed.
      if (serial_.isOpen()) {
        vanished_ = true;
        serial_.close();
      }
      serial_.clearError();
      return;
    default:
      // Failed calls report through their results; the error itself is
      // cleared so that it does not linger into the next call.
      serial_.clearError();
      return;
  }
}

}  // namespace brevik::platform
