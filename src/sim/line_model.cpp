#include "sim/line_model.h"

namespace brevik::sim {

namespace {

std::uint8_t mergedByteForRatio(std::uint32_t ratio) {
  if (ratio >= 16) return 0x00;
  if (ratio >= 8) return 0x80;
  if (ratio >= 4) return 0xF8;
  if (ratio >= 2) return 0xFE;
  return 0xFF;
}

}  // namespace

std::uint8_t wakeReplyByteFor(std::uint32_t baud) {
  return baud <= 1200 ? std::uint8_t{0xFF} : mergedByteForRatio(baud / 1200);
}

std::uint8_t mergedByteFor(std::uint32_t senderBaud, std::uint32_t receiverBaud) {
  return receiverBaud == 0 ? std::uint8_t{0x00} : mergedByteForRatio(senderBaud / receiverBaud);
}

std::optional<SeenByte> LineReceiver::receive(std::uint8_t byte, std::uint32_t senderBaud,
                                              std::uint32_t receiverBaud, Micros arrival) {
  if (senderBaud == receiverBaud) return SeenByte{byte, false};
  if (receiverBaud != 0 && senderBaud >= 2 * receiverBaud) {
    const Micros start = arrival - characterTime(senderBaud);
    if (start < busyUntil_) return std::nullopt;
    busyUntil_ = start + characterTime(receiverBaud);
    return SeenByte{mergedByteFor(senderBaud, receiverBaud), false};
  }
  return SeenByte{0x00, true};
}

}  // namespace brevik::sim
