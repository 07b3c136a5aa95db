#include "sim/virtual_serial_port.h"

#include <algorithm>

namespace brevik::sim {

VirtualSerialPort::VirtualSerialPort(link::TickScheduler& scheduler) : scheduler_(scheduler) {}

// Twins and the port may end in either order (a test's logger often goes
// before the line it was attached to), so neither touches the other when it
// ends: a twin that outlives the port transmits into nothing.
VirtualSerialPort::~VirtualSerialPort() {
  if (pumpStep_ != 0) scheduler_.cancel(pumpStep_);
}

Micros VirtualSerialPort::lineTime() const { return ticksToMicros(scheduler_.now()); }

void VirtualSerialPort::attach(LineDevice& twin) {
  twins_.push_back(&twin);
  twin.setTransmit([alive = std::weak_ptr<VirtualSerialPort*>(self_)](std::string_view bytes,
                                                                      std::uint32_t baud, Micros at) {
    const auto port = alive.lock();
    if (!port) return;
    (*port)->queue((*port)->toPc_, (*port)->loggersFreeAt_, bytes, baud, at);
    (*port)->schedulePump();
  });
  schedulePump();
}

Status VirtualSerialPort::open(link::PortNumber, std::uint32_t baudRate) {
  if (open_) close();
  if (unplugged_) return makeError(ErrorKind::PortUnavailable, "the virtual adapter is unplugged");
  open_ = true;
  baud_ = baudRate;
  dtr_ = true;
  tellDtr();
  received_.clear();
  lineError_ = false;
  pcReceiver_.reset();
  return {};
}

void VirtualSerialPort::close() {
  if (!open_) return;
  open_ = false;
  const bool wasRaised = dtr_;
  dtr_ = false;
  if (wasRaised) tellDtr();
  received_.clear();
  lineError_ = false;
}

Status VirtualSerialPort::setBaudRate(std::uint32_t baudRate) {
  baud_ = baudRate;
  return {};
}

Status VirtualSerialPort::setDtr(bool raised) {
  if (!open_) return makeError(ErrorKind::PortUnavailable, "the virtual port is closed");
  if (dtr_ == raised) return {};
  dtr_ = raised;
  tellDtr();
  return {};
}

Status VirtualSerialPort::write(std::string_view bytes) {
  if (!open_) return makeError(ErrorKind::PortUnavailable, "the virtual port is closed");
  queue(toLoggers_, pcFreeAt_, bytes, baud_, lineTime());
  schedulePump();
  return {};
}

std::string VirtualSerialPort::readWaiting() {
  std::string bytes;
  bytes.swap(received_);
  return bytes;
}

bool VirtualSerialPort::takeLineError() {
  const bool error = lineError_;
  lineError_ = false;
  return error;
}

void VirtualSerialPort::flushInput() {
  received_.clear();
  lineError_ = false;
}

void VirtualSerialPort::flushOutput() { dropUnsent(lineTime()); }

void VirtualSerialPort::dropUnsent(Micros now) {
  // Bytes whose first bit has left the port stay on the line.
  while (!toLoggers_.empty() && toLoggers_.back().arrival - characterTime(toLoggers_.back().baud) >= now)
    toLoggers_.pop_back();
  pcFreeAt_ = toLoggers_.empty() ? now : std::max(now, toLoggers_.back().arrival);
}

void VirtualSerialPort::queue(std::deque<InFlight>& direction, Micros& freeAt, std::string_view bytes,
                              std::uint32_t baud, Micros from) {
  Micros t = std::max(from, freeAt);
  const Micros each = characterTime(baud);
  for (const char c : bytes) {
    t += each;
    direction.push_back(InFlight{t, static_cast<std::uint8_t>(c), baud});
  }
  freeAt = t;
}

std::optional<Micros> VirtualSerialPort::nextEvent() const {
  std::optional<Micros> next;
  const auto consider = [&next](Micros t) {
    if (!next || t < *next) next = t;
  };
  if (!toLoggers_.empty()) consider(toLoggers_.front().arrival);
  if (!toPc_.empty()) consider(toPc_.front().arrival);
  for (const auto* twin : twins_)
    if (const auto d = twin->nextDeadline()) consider(*d);
  return next;
}

// A closed port holds DTR down, an open one up until the program says
// otherwise: a modem hangs up when it drops.
void VirtualSerialPort::tellDtr() {
  const Micros now = lineTime();
  for (auto* device : twins_) device->dtrChanged(dtr_, now);
  schedulePump();
}

void VirtualSerialPort::schedulePump() {
  if (pumping_) return;  // the running pump schedules the next one when it ends
  const auto next = nextEvent();
  if (!next) return;
  const link::Ticks now = scheduler_.now();
  const auto dueTick = std::max<std::int64_t>(microsToTicksCeil(*next), now);
  const link::Ticks delay = static_cast<link::Ticks>(dueTick - now);
  if (pumpStep_ != 0) {
    if (pumpAt_ <= now + delay) return;
    scheduler_.cancel(pumpStep_);
  }
  pumpAt_ = now + delay;
  pumpStep_ = scheduler_.after(delay, [this] {
    pumpStep_ = 0;
    pump();
  });
}

void VirtualSerialPort::pump() {
  pumping_ = true;
  const Micros now = lineTime();
  const std::size_t before = received_.size();
  while (true) {
    const auto next = nextEvent();
    if (!next || *next > now) break;
    if (!toLoggers_.empty() && toLoggers_.front().arrival == *next) {
      const InFlight b = toLoggers_.front();
      toLoggers_.pop_front();
      for (auto* twin : twins_) twin->receive(b.byte, b.baud, b.arrival);
    } else if (!toPc_.empty() && toPc_.front().arrival == *next) {
      const InFlight b = toPc_.front();
      toPc_.pop_front();
      if (!open_) continue;
      if (const auto seen = pcReceiver_.receive(b.byte, b.baud, baud_, b.arrival)) {
        received_.push_back(static_cast<char>(seen->value));
        lineError_ = lineError_ || seen->lineError;
      }
    } else {
      for (auto* twin : twins_) twin->advanceTo(*next);
    }
  }
  pumping_ = false;
  if (open_ && received_.size() > before && dataArrived_) dataArrived_(received_.size());
  schedulePump();
}

}  // namespace brevik::sim
