#pragma once
// The exchange trace: one line per event, prefixed by the tick count since
// the exchange began, so a field link can be diagnosed after the fact.
//
//   [12] > >C005D              framed command (or raw bytes) sent
//   [14] < 0123...             line (or wake-up byte) received
//   [0] > wake 55 5x48 @57600  wake-up burst: byte, run length x runs, baud
//   [3] * baud 9600            port events: baud, dtr, state changes
//   [40] ! text                what was reported to the user or the log
//
// Bytes outside printable ASCII are written \xNN.

#include <cstdint>
#include <string>
#include <string_view>

#include "link/tick_scheduler.h"

namespace brevik::link {

class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void traceLine(std::string_view line) = 0;
};

// Printable ASCII as itself, every other byte (and the backslash) as \xNN.
std::string escapeTraceBytes(std::string_view bytes);

class ExchangeTrace {
 public:
  explicit ExchangeTrace(const TickScheduler& ticks) : ticks_(ticks) {}

  // Null stops tracing.
  void setSink(TraceSink* sink) { sink_ = sink; }
  TraceSink* sink() const { return sink_; }

  // Tick 0 of the exchange.
  void beginExchange() { start_ = ticks_.now(); }

  void sent(std::string_view bytes);
  void received(std::string_view bytes);
  void wake(std::uint8_t byte, std::size_t runLength, std::size_t runs, std::uint32_t baud);
  void event(std::string_view what);
  void reported(std::string_view text);

 private:
  void emit(char tag, std::string_view body);

  const TickScheduler& ticks_;
  TraceSink* sink_ = nullptr;
  Ticks start_ = 0;
};

}  // namespace brevik::link
