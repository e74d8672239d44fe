#include <cstdint>

#include "platform/Utf16Text.h"

namespace brontel::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

std::uint16_t UnitAt(const char* bytes, std::size_t index, bool bigEndian) {
  const auto first = static_cast<unsigned char>(bytes[2 * index]);
  const auto second = static_cast<unsigned char>(bytes[2 * index + 1]);
  return static_cast<std::uint16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
}

bool IsHighSurrogate(std::uint16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(std::uint16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf8(char32_t code, std::string& out) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

bool IsContinuation(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

}  // namespace

void AppendUtf16Text(const char* bytes, std::size_t unitCount, bool bigEndian, std::string& out) {
  out.reserve(out.size() + unitCount);
  for (std::size_t i = 0; i < unitCount; ++i) {
    const std::uint16_t unit = UnitAt(bytes, i, bigEndian);
    if (unit < 0x80) {
      out.push_back(static_cast<char>(unit));
      continue;
    }
    char32_t code = unit;
    if (IsHighSurrogate(unit) && i + 1 < unitCount &&
        IsLowSurrogate(UnitAt(bytes, i + 1, bigEndian))) {
      code = 0x10000 + ((unit - 0xD800u) << 10) + (UnitAt(bytes, i + 1, bigEndian) - 0xDC00u);
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      code = kReplacement;
    }
    AppendUtf8(code, out);
  }
}

std::size_t Utf16UnitsOf(std::string_view text) {
  std::size_t units = 0;
  for (const char byte : text) {
    const auto value = static_cast<unsigned char>(byte);
    if ((value & 0xC0) != 0x80)
      units += value >= 0xF0 ? 2 : 1;  // a four-byte sequence came from a surrogate pair
  }
  return units;
}

std::size_t WholeCharacterPrefix(std::string_view text, std::size_t limit) {
  if (limit >= text.size())
    return text.size();
  std::size_t end = limit;
  while (end > 0 && IsContinuation(text[end]))
    --end;
  if (end > 0)
    return end;
  end = 1;  // the first character does not fit: take it whole
  while (end < text.size() && IsContinuation(text[end]))
    ++end;
  return limit == 0 ? 0 : end;
}

}  // namespace brontel::platform
