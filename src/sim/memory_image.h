#pragma once
// The virtual logger's data memory: how recording fills it and how the
// download reads it back.
//
// Each bank holds data at addresses 0x0200 up to 0x7FFF (32,256 bytes; a
// 10-bit logger uses 32,250 of them). A logger of model '6' has four banks
// that recording runs through as one ring, A, B, C, D and round to A again;
// the others have one. The memory image keeps the banks back to back, 32,256
// bytes each, whatever the resolution.
//
// Packed loggers (10 and 12 bit) write each sample's high byte at once and
// collect the low bits in a tail byte, written after the group's last high
// byte. Where recording stands, the samples of the unfinished group have
// their low bits only in that tail: the phase byte of the status reply. Its
// low bits (two at 10 bit, one at 12 bit) also tell how many samples of the
// group are written, so the first of them keeps those bits as its low bits.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brevik::sim {

inline constexpr std::uint16_t kFirstDataAddress = 0x0200;
inline constexpr std::size_t kImageBankBytes = 32256;

std::size_t bankDataBytes(int resolution);   // 32,256, or 32,250 at 10 bit
std::size_t memoryLineBytes(int resolution);  // 96, or 75 at 10 bit
int memoryBankCount(char model);              // 4 for model '6', else 1
int bankIndex(char bankLetter);               // 'A' -> 0 ... 'D' -> 3; others 0

// The hex digits (upper case, no checksum) of the memory line that starts
// at `address` of bank `bankLetter`: a line's worth of bytes in recording
// order, running on into the next bank (or round the one bank) at the end.
// Nothing below the data memory.
std::optional<std::string> memoryLineDigits(const std::string& image, int resolution, char model,
                                            char bankLetter, std::uint16_t address);

// How many samples (all channels interleaved) memory holds when recording
// stands at `pointer` of bank `bankLetter`, having gone round all banks once
// first when `wrapped`: the count recordMemory would leave in `held`, found
// without recording, so that it also holds for a memory image read from a file.
std::size_t samplesHeld(int resolution, char model, char bankLetter, std::uint16_t pointer, bool wrapped);

struct Recording {
  std::string image;             // banks back to back, kImageBankBytes each
  std::uint8_t phaseByte = 0;    // the tail byte of the unfinished group
  std::vector<std::uint16_t> held;  // the samples memory holds, oldest first
};

// Records the stream sample(0), sample(1), ... (all channels interleaved)
// from address 0x0200 of bank A until the write position stands at `pointer`
// of bank `bankLetter` - after going once round all banks first when
// `wrapped`. A pointer is taken as it stands: one past the last byte written.
// With a `tail`, the samples of the unfinished group take their low bits
// from it and it is the phase byte; without, the phase byte is made to fit
// the pointer.
Recording recordMemory(int resolution, char model, char bankLetter, std::uint16_t pointer,
                       bool wrapped, const std::function<std::uint16_t(std::size_t)>& sample,
                       std::optional<std::uint8_t> tail = std::nullopt);

}  // namespace brevik::sim
