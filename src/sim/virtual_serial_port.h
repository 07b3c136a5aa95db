#pragma once
// The serial port of the PC joined by a virtual line to one or more virtual
// loggers (several share the line in network mode), or to a virtual modem or
// a loop-back plug (line_device.h), in the virtual time of a TickScheduler.
// DTR falls when the program drops it or closes the port, and the far end is
// told.
//
// Each byte occupies the line for one character time at its sender's baud;
// the two directions are independent, and the loggers' replies share their
// direction one after the other. What a receiver running at another baud reads
// follows line_model.h. The line is looked at once per tick: bytes that have
// finished arriving by then are handed over and the data-arrived callback
// runs; the loggers see every byte at its exact arrival time.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "link/serial_port.h"
#include "link/tick_scheduler.h"
#include "sim/line_device.h"
#include "sim/line_model.h"
#include "sim/logger_twin.h"
#include "sim/sim_time.h"

namespace brevik::sim {

class VirtualSerialPort final : public link::SerialPort {
 public:
  explicit VirtualSerialPort(link::TickScheduler& scheduler);
  ~VirtualSerialPort() override;
  VirtualSerialPort(const VirtualSerialPort&) = delete;
  VirtualSerialPort& operator=(const VirtualSerialPort&) = delete;

  // Puts a logger (or a modem, or a loop-back plug) on the line. It must
  // outlive the port.
  void attach(LineDevice& device);
  // The adapter is unplugged: opening fails as for a device that is gone.
  void setUnplugged(bool unplugged) { unplugged_ = unplugged; }

  Status open(link::PortNumber portNumber, std::uint32_t baudRate) override;
  void close() override;
  bool isOpen() const override { return open_; }
  Status setBaudRate(std::uint32_t baudRate) override;
  std::uint32_t baudRate() const override { return baud_; }
  Status setDtr(bool raised) override;
  Status write(std::string_view bytes) override;
  std::size_t bytesWaiting() const override { return received_.size(); }
  std::string readWaiting() override;
  bool takeLineError() override;
  void flushInput() override;
  void flushOutput() override;
  void setDataArrived(DataArrived callback) override { dataArrived_ = std::move(callback); }

  bool dtr() const { return dtr_; }
  // The line's time now (the scheduler's tick in microseconds).
  Micros lineTime() const;

 private:
  struct InFlight {
    Micros arrival;
    std::uint8_t byte;
    std::uint32_t baud;
  };

  void queue(std::deque<InFlight>& direction, Micros& freeAt, std::string_view bytes, std::uint32_t baud,
             Micros from);
  void dropUnsent(Micros now);
  void pump();
  void schedulePump();
  void tellDtr();
  std::optional<Micros> nextEvent() const;

  link::TickScheduler& scheduler_;
  std::vector<LineDevice*> twins_;
  // Lets the twins' transmit callbacks tell whether the port still exists.
  std::shared_ptr<VirtualSerialPort*> self_ = std::make_shared<VirtualSerialPort*>(this);
  std::deque<InFlight> toLoggers_, toPc_;
  Micros pcFreeAt_ = 0, loggersFreeAt_ = 0;
  LineReceiver pcReceiver_;
  std::string received_;
  bool lineError_ = false;
  bool open_ = false;
  bool unplugged_ = false;
  bool dtr_ = false;
  std::uint32_t baud_ = 1200;
  DataArrived dataArrived_;
  link::TickScheduler::StepId pumpStep_ = 0;
  link::Ticks pumpAt_ = 0;
  bool pumping_ = false;
};

}  // namespace brevik::sim
