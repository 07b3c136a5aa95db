#pragma once
// One COM port used by two parts of the program that never have it open at
// the same time: the link port of every exchange and the auto-answer port
// that only waits for a site modem's connect message and hangs up between
// calls. Each gets a SerialPort of its own over the one device; opening one
// takes the device over, and bytes that arrive go to whichever has it open.
// The other one then reads nothing, and its writes fail as on a closed port.

#include <cstddef>
#include <string>

#include "link/serial_port.h"

namespace brevik::program {

class PortShare {
 public:
  explicit PortShare(link::SerialPort& device);
  ~PortShare();
  PortShare(const PortShare&) = delete;
  PortShare& operator=(const PortShare&) = delete;

  link::SerialPort& linkPort() { return link_; }
  link::SerialPort& answerPort() { return answer_; }

 private:
  class Handle final : public link::SerialPort {
   public:
    explicit Handle(PortShare& share) : share_(share) {}
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
    void setDataArrived(DataArrived callback) override { dataArrived_ = std::move(callback); }

   private:
    friend class PortShare;
    bool owns() const { return share_.owner_ == this; }
    PortShare& share_;
    DataArrived dataArrived_;
    std::uint32_t baud_ = 1200;
  };

  link::SerialPort& device_;
  Handle link_{*this};
  Handle answer_{*this};
  Handle* owner_ = nullptr;
};

}  // namespace brevik::program
