#include "sim/memory_image.h"

#include <algorithm>
#include <array>

#include "sim/framing.h"

namespace brevik::sim {

namespace {

struct Packing {
  std::size_t groupBytes;
  std::size_t groupSamples;
  unsigned lowBits;  // low bits of each sample kept in the tail byte
};

Packing packingOf(int resolution) {
  if (resolution == 12) return {3, 2, 4};
  if (resolution == 10) return {5, 4, 2};
  return {1, 1, 0};
}

int fullScaleOf(int resolution) { return resolution == 12 ? 4095 : resolution == 10 ? 1023 : 255; }

// Where a position of the ring (0 = address 0x0200 of bank A) lies in the image.
std::size_t imageOffset(std::size_t ringPosition, std::size_t bankBytes) {
  return ringPosition / bankBytes * kImageBankBytes + ringPosition % bankBytes;
}

}  // namespace

std::size_t bankDataBytes(int resolution) { return resolution == 10 ? 32250 : 32256; }

std::size_t memoryLineBytes(int resolution) { return resolution == 10 ? 75 : 96; }

int memoryBankCount(char model) { return model == '6' ? 4 : 1; }

int bankIndex(char bankLetter) {
  return bankLetter >= 'A' && bankLetter <= 'D' ? bankLetter - 'A' : 0;
}

std::optional<std::string> memoryLineDigits(const std::string& image, int resolution, char model,
                                            char bankLetter, std::uint16_t address) {
  if (address < kFirstDataAddress) return std::nullopt;
  const int banks = memoryBankCount(model);
  const std::size_t bankBytes = bankDataBytes(resolution);
  const std::size_t ring = bankBytes * static_cast<std::size_t>(banks);
  const std::size_t bank = banks == 1 ? 0 : static_cast<std::size_t>(bankIndex(bankLetter));
  std::size_t position = (bank * bankBytes + (address - kFirstDataAddress)) % ring;
  std::string digits;
  for (std::size_t i = 0; i < memoryLineBytes(resolution); ++i) {
    const std::size_t at = imageOffset(position, bankBytes);
    digits += hexByte(at < image.size() ? static_cast<std::uint8_t>(image[at]) : std::uint8_t{0});
    position = (position + 1) % ring;
  }
  return digits;
}

std::size_t samplesHeld(int resolution, char model, char bankLetter, std::uint16_t pointer, bool wrapped) {
  const Packing pack = packingOf(resolution);
  const int banks = memoryBankCount(model);
  const std::size_t bankBytes = bankDataBytes(resolution);
  const std::size_t ring = bankBytes * static_cast<std::size_t>(banks);
  if (wrapped) return ring / pack.groupBytes * pack.groupSamples;
  const std::size_t bank = banks == 1 ? 0 : static_cast<std::size_t>(bankIndex(bankLetter));
  const std::size_t used =
      pointer < kFirstDataAddress ? 0 : std::min<std::size_t>(pointer - kFirstDataAddress, bankBytes);
  const std::size_t bytes = bank * bankBytes + used;
  // The bytes of an unfinished group are high bytes, one sample each; its
  // tail byte comes only with the group's last sample.
  return bytes / pack.groupBytes * pack.groupSamples + bytes % pack.groupBytes;
}

Recording recordMemory(int resolution, char model, char bankLetter, std::uint16_t pointer,
                       bool wrapped, const std::function<std::uint16_t(std::size_t)>& sample,
                       std::optional<std::uint8_t> givenTail) {
  const Packing pack = packingOf(resolution);
  const int banks = memoryBankCount(model);
  const std::size_t bankBytes = bankDataBytes(resolution);
  const std::size_t ring = bankBytes * static_cast<std::size_t>(banks);
  const std::size_t bank = banks == 1 ? 0 : static_cast<std::size_t>(bankIndex(bankLetter));
  const std::size_t used =
      pointer < kFirstDataAddress ? 0 : std::min<std::size_t>(pointer - kFirstDataAddress, bankBytes);
  const std::size_t target = (wrapped ? ring : 0) + bank * bankBytes + used;
  const unsigned lowMask = (1u << pack.lowBits) - 1u;
  const auto full = static_cast<unsigned>(fullScaleOf(resolution));

  Recording rec;
  if (givenTail) rec.phaseByte = *givenTail;
  rec.image.assign(static_cast<std::size_t>(banks) * kImageBankBytes, '\0');
  std::vector<std::uint16_t> written;
  std::size_t count = 0;  // bytes written so far
  auto put = [&](unsigned byte) {
    rec.image[imageOffset(count % ring, bankBytes)] = static_cast<char>(byte & 0xFF);
    ++count;
  };

  while (count < target) {
    const std::size_t remaining = target - count;
    std::array<unsigned, 4> group{};
    for (std::size_t k = 0; k < pack.groupSamples; ++k)
      group[k] = std::min<unsigned>(sample(written.size() + k), full);

    const bool unfinished = pack.groupBytes > 1 && remaining < pack.groupBytes;
    const std::size_t highs = unfinished ? remaining : pack.groupSamples;
    if (unfinished && givenTail) {
      for (std::size_t k = 0; k < highs; ++k)
        group[k] = (group[k] & ~lowMask) | ((*givenTail >> (pack.lowBits * k)) & lowMask);
    } else if (unfinished) {
      // The phase lives in the tail byte's lowest bits.
      const unsigned phaseMask = resolution == 10 ? 3u : 1u;
      group[0] = (group[0] & ~phaseMask) | (static_cast<unsigned>(highs) & phaseMask);
    }
    unsigned tail = 0;
    for (std::size_t k = 0; k < highs; ++k) {
      put(group[k] >> pack.lowBits);
      tail |= (group[k] & lowMask) << (pack.lowBits * k);
      written.push_back(static_cast<std::uint16_t>(group[k]));
    }
    if (unfinished) {
      rec.phaseByte = givenTail ? *givenTail : static_cast<std::uint8_t>(tail);
      break;
    }
    if (pack.groupBytes > pack.groupSamples) put(tail);
  }

  const std::size_t ringSamples = ring / pack.groupBytes * pack.groupSamples;
  const std::size_t keep = wrapped ? std::min(ringSamples, written.size()) : written.size();
  rec.held.assign(written.end() - static_cast<std::ptrdiff_t>(keep), written.end());
  return rec;
}

}  // namespace brevik::sim
