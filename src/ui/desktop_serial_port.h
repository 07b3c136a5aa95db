#pragma once
// The program's serial port: COM<n> is whatever the home's port map names,
// a device driven by QSerialPort, or the built-in virtual logger when the
// map says sim or sim:PROFILE. The virtual logger keeps its state between
// exchanges, as a real one would, as long as the map names the same profile.

#include <filesystem>
#include <memory>
#include <string>

#include "common/clock.h"
#include "link/serial_port.h"
#include "link/tick_scheduler.h"

namespace brevik::sim {
class LineDevice;
class VirtualSerialPort;
}  // namespace brevik::sim

namespace brevik::platform {
class QtSerialPort;
}

namespace brevik::ui {

class DesktopSerialPort final : public link::SerialPort {
 public:
  DesktopSerialPort(std::filesystem::path home, std::filesystem::path shippedSimDir, link::TickScheduler& ticks,
                    const Clock& clock);
  ~DesktopSerialPort() override;

  Status open(link::PortNumber portNumber, std::uint32_t baudRate) override;
  void close() override;
  bool isOpen() const override;
  Status setBaudRate(std::uint32_t baudRate) override;
  std::uint32_t baudRate() const override;
  Status setDtr(bool raised) override;
  Status write(std::string_view bytes) override;
  std::size_t bytesWaiting() const override;
  std::string readWaiting() override;
  bool takeLineError() override;
  void flushInput() override;
  void flushOutput() override;
  void setDataArrived(DataArrived callback) override;

 private:
  std::filesystem::path home_;
  std::filesystem::path shippedSimDir_;
  link::TickScheduler& ticks_;
  const Clock& clock_;
  std::string device_;
  std::string profileName_;  // the device of the virtual logger on the line
  std::unique_ptr<sim::LineDevice> twin_;  // the logger, or a modem with its sites
  std::unique_ptr<sim::VirtualSerialPort> virtual_;
  std::unique_ptr<platform::QtSerialPort> qt_;
  link::SerialPort* active_ = nullptr;
  std::uint32_t baud_ = 1200;
  DataArrived callback_;
};

}  // namespace brevik::ui
