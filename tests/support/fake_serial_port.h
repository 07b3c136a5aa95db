#pragma once
// A scripted SerialPort for tests. It records every call with the tick it
// happened at (when given a scheduler), lets the test feed received bytes,
// line errors and failures, and lets a responder (a virtual device) see
// every write.
//
// Events read like the exchange trace:
//   "open COM1 19200"  "open COM3 9600 failed"  "baud 9600"  "dtr 1"
//   "write ATH\x0D"   "flush in"  "flush out"  "close"
// Bytes outside printable ASCII are written \xNN.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "link/serial_port.h"
#include "link/tick_scheduler.h"

namespace brevik::testing {

// Bytes as the trace writes them: printable ASCII as is, the rest \xNN.
std::string escapeBytes(std::string_view bytes);

class FakeSerialPort final : public link::SerialPort {
 public:
  struct Event {
    link::Ticks tick = 0;
    std::string text;
    friend bool operator==(const Event&, const Event&) = default;
  };

  // `clock` stamps the events; without one every event is at tick 0.
  explicit FakeSerialPort(const link::TickScheduler* clock = nullptr) : clock_(clock) {}

  // --- SerialPort
  Status open(link::PortNumber portNumber, std::uint32_t baudRate) override;
  void close() override;
  bool isOpen() const override { return open_; }
  Status setBaudRate(std::uint32_t baudRate) override;
  std::uint32_t baudRate() const override { return baud_; }
  Status setDtr(bool raised) override;
  Status write(std::string_view bytes) override;
  std::size_t bytesWaiting() const override { return input_.size(); }
  std::string readWaiting() override;
  bool takeLineError() override;
  void flushInput() override;
  void flushOutput() override;
  void setDataArrived(DataArrived callback) override { dataArrived_ = std::move(callback); }

  // --- Script
  // Makes the next opens fail with this error (PortUnavailable by default).
  void refuseOpen(std::string message = "Port not available");
  void acceptOpen() { refuseOpen_.reset(); }
  // Makes writes (and DTR changes) fail as if the device vanished.
  void loseDevice(bool lost = true) { lost_ = lost; }
  // Bytes arrive from the line: queued and announced through the callback.
  // Ignored while the port is closed (nobody listens).
  void receive(std::string_view bytes);
  void raiseLineError() { lineError_ = true; }
  // Sees every successful write (a virtual device answering commands).
  std::function<void(std::string_view)> onWrite;

  // --- Record
  const std::vector<Event>& events() const { return events_; }
  // The events as "[tick] text" lines.
  std::vector<std::string> log() const;
  // Every byte written since the start.
  const std::string& written() const { return written_; }
  bool dtr() const { return dtr_; }
  link::PortNumber portNumber() const { return portNumber_; }
  int openCount() const { return openCount_; }
  void clearEvents() { events_.clear(); }

 private:
  void record(std::string text);

  const link::TickScheduler* clock_;
  std::vector<Event> events_;
  std::string input_;
  std::string written_;
  DataArrived dataArrived_;
  std::optional<std::string> refuseOpen_;
  std::uint32_t baud_ = 19200;
  link::PortNumber portNumber_ = 0;
  int openCount_ = 0;
  bool open_ = false;
  bool dtr_ = false;
  bool lineError_ = false;
  bool lost_ = false;
};

}  // namespace brevik::testing
