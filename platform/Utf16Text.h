/** @file Utf16Text.h: UTF-16 text in the platform's 8-bit text, and measures of that text. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace brontel::platform {

// The code unit at `index` of UTF-16 bytes in the given byte order.
inline std::uint16_t Utf16UnitAt(const char* bytes, std::size_t index, bool bigEndian) {
  const auto first = static_cast<unsigned char>(bytes[2 * index]);
  const auto second = static_cast<unsigned char>(bytes[2 * index + 1]);
  return static_cast<std::uint16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
}
inline bool IsHighSurrogate(std::uint16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool IsLowSurrogate(std::uint16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The most bytes of 8-bit text that one UTF-16 code unit becomes.
inline constexpr std::size_t kTextBytesPerUtf16Unit = 3;

// Writes the text of `unitCount` UTF-16 code units at `bytes` (two bytes each, big-endian or
// little-endian) to `out`, which has room for kTextBytesPerUtf16Unit bytes a unit, in the
// platform's 8-bit text: UTF-8 on POSIX, the ANSI code page (with the system's best-fit mapping)
// on Windows. A surrogate without its partner becomes U+FFFD on POSIX and the code page's
// default character on Windows. Returns the bytes written.
std::size_t Utf16ToText(const char* bytes, std::size_t unitCount, bool bigEndian, char* out);

// How many UTF-16 code units `text`, as Utf16ToText wrote it, stands for. Exact on POSIX; on
// Windows a character the code page has no byte for counts as one unit.
std::size_t Utf16UnitsOf(std::string_view text);

// The length of the longest start of `text` of at most `limit` bytes that ends on a whole
// character; a first character longer than `limit` is taken whole, so the answer is 0 only for
// an empty text or a zero limit.
std::size_t WholeCharacterPrefix(std::string_view text, std::size_t limit);

}  // namespace brontel::platform
