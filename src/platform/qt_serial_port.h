#pragma once
// The serial port on real hardware: QSerialPort, opened by the device name
// the port map gives for the COM number.
//
// What a pseudo-terminal or a vanishing USB adapter does to QSerialPort is
// absorbed here, so that the engine only ever sees "port unavailable":
// - DTR on a pty fails with UnsupportedOperationError while the port keeps
//   working: that is "not supported", not a failure;
// - a device that vanishes makes QSerialPort report ReadError over and over
//   until it is closed: the port is closed at the first one;
// - every failure to open is PortUnavailable.
// QSerialPort no longer reports framing or parity errors, so no line error
// is ever pending.

#include <functional>
#include <string>

#include <QByteArray>
#include <QSerialPort>

#include "link/serial_port.h"

namespace brevik::platform {

class QtSerialPort final : public link::SerialPort {
 public:
  // Names the device of COM<n> (the port map, or one fixed device).
  using DeviceOf = std::function<std::string(link::PortNumber)>;

  explicit QtSerialPort(DeviceOf deviceOf);
  ~QtSerialPort() override;
  QtSerialPort(const QtSerialPort&) = delete;
  QtSerialPort& operator=(const QtSerialPort&) = delete;

  Status open(link::PortNumber portNumber, std::uint32_t baudRate) override;
  void close() override;
  bool isOpen() const override;
  Status setBaudRate(std::uint32_t baudRate) override;
  std::uint32_t baudRate() const override { return baud_; }
  Status setDtr(bool raised) override;
  Status write(std::string_view bytes) override;
  std::size_t bytesWaiting() const override;
  std::string readWaiting() override;
  bool takeLineError() override { return false; }
  void flushInput() override;
  void flushOutput() override;
  void setDataArrived(DataArrived callback) override { dataArrived_ = std::move(callback); }

  // The device the last open() used.
  const std::string& device() const { return device_; }

 private:
  void onReadyRead();
  void onError(QSerialPort::SerialPortError error);
  Error lost(std::string_view what) const;

  DeviceOf deviceOf_;
  QSerialPort serial_;
  QByteArray received_;
  std::string device_;
  std::uint32_t baud_ = 1200;
  bool vanished_ = false;
  // The last error QSerialPort reported, kept because it is cleared at once.
  QSerialPort::SerialPortError lastError_ = QSerialPort::NoError;
  std::string lastErrorText_;
  DataArrived dataArrived_;
};

}  // namespace brevik::platform
