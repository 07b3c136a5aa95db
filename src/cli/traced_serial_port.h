#pragma once
// A serial port that writes what is done to it into an exchange trace: for
// sequences that drive the port themselves, without the exchange engine
// (which traces its own steps), such as the modem hang-up.
//
//   [0] * open COM1 @9600    [4] * dtr 0    [50] > +++    [134] * close

#include "link/exchange_trace.h"
#include "link/serial_port.h"

namespace brevik::cli {

class TracedSerialPort final : public link::SerialPort {
 public:
  TracedSerialPort(link::SerialPort& port, link::ExchangeTrace& trace) : port_(port), trace_(trace) {}

  Status open(link::PortNumber portNumber, std::uint32_t baudRate) override;
  void close() override;
  bool isOpen() const override { return port_.isOpen(); }
  Status setBaudRate(std::uint32_t baudRate) override;
  std::uint32_t baudRate() const override { return port_.baudRate(); }
  Status setDtr(bool raised) override;
  Status write(std::string_view bytes) override;
  std::size_t bytesWaiting() const override { return port_.bytesWaiting(); }
  std::string readWaiting() override;
  bool takeLineError() override { return port_.takeLineError(); }
  void flushInput() override { port_.flushInput(); }
  void flushOutput() override { port_.flushOutput(); }
  void setDataArrived(DataArrived callback) override { port_.setDataArrived(std::move(callback)); }

 private:
  // A failed step is traced with the port's reason: a trace that stops
  // without it would hide why the modem stayed off hook.
  Status traced(Status status);

  link::SerialPort& port_;
  link::ExchangeTrace& trace_;
};

}  // namespace brevik::cli
