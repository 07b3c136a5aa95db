#pragma once
// The logger's memory image as a stream of raw counts. 8-bit loggers store one
// byte per sample; 10- and 12-bit loggers pack the stream (all channels
// interleaved, not channel by channel) into groups:
//
//   12 bit: b0 b1 b2        -> b0*16 + (b2 & 15), b1*16 + (b2 >> 4)
//   10 bit: b0 b1 b2 b3 b4  -> bk*4 + ((b4 >> 2k) & 3), k = 0..3
//
// In wrap mode the image starts at the memory pointer, which may fall inside
// a group: the first `phase` samples of that group are missing (the image
// starts with the group's remaining high bytes and its low-bits byte), and the
// image ends with the first `phase` high bytes of the same group, whose low
// bits were not yet in memory: they come from a separate tail byte.
//
// Everything here writes into caller-provided storage: no allocation per
// sample or per call.

#include <cstddef>
#include <cstdint>
#include <span>

namespace brevik::datafile {

// Bytes of one packing group and samples it carries (1 and 1 for 8 bit).
std::size_t groupBytes(int resolutionCode);
std::size_t groupSamples(int resolutionCode);

// Samples held by `bytes` bytes of a stream starting on a group boundary; a
// trailing partial group counts with each of its high bytes (rounded up).
std::size_t packedSampleCount(int resolutionCode, std::size_t bytes);

// Unpacks a stream that starts on a group boundary. A trailing partial group
// gives one sample per high byte present, with its low bits taken as 0.
// Writes at most out.size() samples; returns how many it wrote.
std::size_t unpackAligned(int resolutionCode, std::span<const std::uint8_t> bytes,
                          std::span<std::uint16_t> out);

// Unpacks a wrap-mode image that starts `phase` samples into a group (phase
// 0..3 for 10 bit, 0..1 for 12 bit; ignored for 8 bit). A trailing partial
// group takes its low bits from `tail` the way a group takes them from its
// low-bits byte. Writes at most out.size() samples; returns how many.
std::size_t unpackWrapped(int resolutionCode, std::span<const std::uint8_t> bytes, int phase,
                          std::uint8_t tail, std::span<std::uint16_t> out);

// The wrap phase carried by the phase byte: its low two bits (10 bit) or its
// low bit (12 bit); 0 for 8 bit.
int wrapPhase(int resolutionCode, std::uint8_t phaseByte);

// Where, in the first bytes of a wrap-mode image, the low-bits byte of the
// group cut by the memory pointer lies (the group's high bytes before the
// pointer end the previous image). None (returns -1) for phase 0 or 8 bit.
int lowBitsByteIndex(int resolutionCode, int phase);

// Packs samples into a stream (the inverse of unpackAligned); a trailing
// partial group is completed with zero samples. Returns the bytes written:
// whole groups only, at most out.size(). Builds images from known samples.
std::size_t packSamples(int resolutionCode, std::span<const std::uint16_t> samples,
                        std::span<std::uint8_t> out);

}  // namespace brevik::datafile
