#include "link/exchange_trace.h"

#include "link/framing.h"

namespace brevik::link {

std::string escapeTraceBytes(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F && b != '\\') out += c;
    else out += "\\x" + hexByte(b);
  }
  return out;
}

void ExchangeTrace::emit(char tag, std::string_view body) {
  if (!sink_) return;
  const Ticks now = ticks_.now();
  std::string line = "[" + std::to_string(now >= start_ ? now - start_ : 0) + "] ";
  line += tag;
  line += ' ';
  line += body;
  sink_->traceLine(line);
}

void ExchangeTrace::sent(std::string_view bytes) { emit('>', escapeTraceBytes(bytes)); }

void ExchangeTrace::received(std::string_view bytes) { emit('<', escapeTraceBytes(bytes)); }

void ExchangeTrace::wake(std::uint8_t byte, std::size_t runLength, std::size_t runs,
                         std::uint32_t baud) {
  if (!sink_) return;
  emit('>', "wake " + hexByte(byte) + " " + std::to_string(runLength) + "x" +
                std::to_string(runs) + " @" + std::to_string(baud));
}

void ExchangeTrace::event(std::string_view what) { emit('*', what); }

void ExchangeTrace::reported(std::string_view text) { emit('!', escapeTraceBytes(text)); }

}  // namespace brevik::link
