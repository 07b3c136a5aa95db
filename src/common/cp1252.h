#pragma once
// Texts inside the core are Windows-1252 bytes: the logger, the record files
// and the fixed-width fields all count bytes, and the accented French texts of
// the program are one byte each. Source files are UTF-8, so every literal that
// holds a non-ASCII character is written with the _cp suffix and converted
// here at compile time:
//
//     constexpr std::string_view stopText = "à la fin de mémoire "_cp;
//
// A literal with a character that has no Windows-1252 byte does not compile.
// The windows and the console convert at their boundary with toUtf8/fromUtf8.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brevik {

namespace cp1252_detail {

// Unicode code points of the bytes 0x80-0x9F; 0 where the byte is undefined.
inline constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte for a code point, or -1 when Windows-1252 has none.
constexpr int byteFor(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] != 0 && kHighControls[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

// Decodes one UTF-8 sequence at s[i]; advances i. Returns U+FFFD on a bad sequence.
constexpr char32_t decodeUtf8(const char* s, std::size_t n, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int extra = 0;
  char32_t cp = 0;
  if (b0 < 0x80) { ++i; return b0; }
  if ((b0 & 0xE0) == 0xC0) { extra = 1; cp = b0 & 0x1F; }
  else if ((b0 & 0xF0) == 0xE0) { extra = 2; cp = b0 & 0x0F; }
  else if ((b0 & 0xF8) == 0xF0) { extra = 3; cp = b0 & 0x07; }
  else { ++i; return 0xFFFD; }
  for (int k = 1; k <= extra; ++k) {
    if (i + static_cast<std::size_t>(k) >= n) { i = n; return 0xFFFD; }
    const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
    if ((b & 0xC0) != 0x80) { i += static_cast<std::size_t>(k); return 0xFFFD; }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += static_cast<std::size_t>(extra) + 1;
  return cp;
}

template <std::size_t N>
struct Utf8Literal {
  char text[N]{};
  std::size_t size = 0;  // converted length in bytes
  char converted[N]{};

  consteval Utf8Literal(const char (&s)[N]) {
    for (std::size_t k = 0; k < N; ++k) text[k] = s[k];
    std::size_t i = 0;
    const std::size_t n = N - 1;  // without the terminating NUL
    while (i < n) {
      const char32_t cp = decodeUtf8(s, n, i);
      const int b = byteFor(cp);
      if (b < 0) throw "character has no Windows-1252 byte";  // compile error
      converted[size++] = static_cast<char>(b);
    }
  }
};

template <Utf8Literal L>
struct Storage {
  static constexpr Utf8Literal value = L;
};

}  // namespace cp1252_detail

inline namespace literals {
// "texte accentué"_cp: the Windows-1252 bytes of a UTF-8 literal.
template <cp1252_detail::Utf8Literal L>
constexpr std::string_view operator""_cp() {
  return std::string_view(cp1252_detail::Storage<L>::value.converted,
                          cp1252_detail::Storage<L>::value.size);
}
}  // namespace literals

// Windows-1252 bytes to UTF-8 (bytes without a character become U+FFFD).
std::string toUtf8(std::string_view cp1252);

// UTF-8 to Windows-1252; characters without a byte become '?'.
std::string fromUtf8(std::string_view utf8);

}  // namespace brevik
