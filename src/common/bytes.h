#pragma once
// Little-endian integers and length-prefixed strings inside fixed-layout
// records (kvlog.ini, .SET). A record is a byte array; fields are read and
// written at their offsets so that reserved bytes are never disturbed.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brevik::bytes {

inline std::uint8_t u8(const std::uint8_t* rec, std::size_t off) { return rec[off]; }

inline std::uint16_t u16(const std::uint8_t* rec, std::size_t off) {
  return static_cast<std::uint16_t>(rec[off] | (rec[off + 1] << 8));
}

inline std::uint32_t u32(const std::uint8_t* rec, std::size_t off) {
  return static_cast<std::uint32_t>(rec[off]) | (static_cast<std::uint32_t>(rec[off + 1]) << 8) |
         (static_cast<std::uint32_t>(rec[off + 2]) << 16) |
         (static_cast<std::uint32_t>(rec[off + 3]) << 24);
}

inline void putU8(std::uint8_t* rec, std::size_t off, std::uint8_t v) { rec[off] = v; }

inline void putU16(std::uint8_t* rec, std::size_t off, std::uint16_t v) {
  rec[off] = static_cast<std::uint8_t>(v & 0xFF);
  rec[off + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void putU32(std::uint8_t* rec, std::size_t off, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) rec[off + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}

// A length-prefixed string of `capacity` characters at `off` (capacity + 1
// bytes in all). A length byte above the capacity is read as the capacity, so
// a damaged record never reads past its field.
inline std::string pstring(const std::uint8_t* rec, std::size_t off, std::size_t capacity) {
  const std::size_t len = std::min<std::size_t>(rec[off], capacity);
  return std::string(reinterpret_cast<const char*>(rec + off + 1), len);
}

// Writes text cut to `capacity`; the bytes after the text keep what they held.
inline void putPstring(std::uint8_t* rec, std::size_t off, std::size_t capacity, std::string_view text) {
  const std::size_t len = std::min(text.size(), capacity);
  rec[off] = static_cast<std::uint8_t>(len);
  std::copy_n(reinterpret_cast<const std::uint8_t*>(text.data()), len, rec + off + 1);
}

// Text padded with blanks (or cut) to exactly `width` characters.
inline std::string padded(std::string_view text, std::size_t width) {
  std::string s(text.substr(0, std::min(text.size(), width)));
  s.resize(width, ' ');
  return s;
}

// Text without its trailing blanks.
inline std::string trimmedRight(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

}  // namespace brevik::bytes
