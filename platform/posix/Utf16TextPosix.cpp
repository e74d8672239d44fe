#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__GNUC__) && defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/Utf16Text.h"

namespace brontel::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::uint64_t kLowBits = 0x00FF00FF00FF00FFull;

char* PutUtf8(char32_t code, char* out) {
  if (code < 0x80) {
    *out++ = static_cast<char>(code);
  } else if (code < 0x800) {
    *out++ = static_cast<char>(0xC0 | (code >> 6));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (code >> 12));
    *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (code >> 18));
    *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

// Four units as one little-endian word (a big-endian word has its bytes swapped in each unit).
std::uint64_t FourUnits(const char* bytes, bool bigEndian) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  if constexpr (std::endian::native == std::endian::big)
    word = __builtin_bswap64(word);
  if (bigEndian)
    word = ((word >> 8) & kLowBits) | ((word & kLowBits) << 8);
  return word;
}

bool AllAscii(std::uint64_t fourUnits) {
  return (fourUnits & 0xFF80FF80FF80FF80ull) == 0;
}

bool IsContinuation(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

std::size_t UnitsOfBytes(std::string_view text) {
  std::size_t units = 0;
  for (const char byte : text) {
    if (!IsContinuation(byte))
      units += static_cast<unsigned char>(byte) >= 0xF0 ? 2 : 1;  // four bytes: a surrogate pair
  }
  return units;
}

#if defined(__GNUC__) && defined(__SSE2__)
// Sixteen units at once while they are ASCII; returns how many units were converted.
std::size_t AsciiRun(const char* bytes, std::size_t unitCount, bool bigEndian, char* out) {
  const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
  const __m128i zero = _mm_setzero_si128();
  std::size_t i = 0;
  for (; i + 16 <= unitCount; i += 16) {
    __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 2 * i));
    __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 2 * i + 16));
    if (bigEndian) {
      first = _mm_or_si128(_mm_slli_epi16(first, 8), _mm_srli_epi16(first, 8));
      second = _mm_or_si128(_mm_slli_epi16(second, 8), _mm_srli_epi16(second, 8));
    }
    const __m128i high = _mm_and_si128(_mm_or_si128(first, second), nonAscii);
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, zero)) != 0xFFFF)
      break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(first, second));
  }
  return i;
}
#else
std::size_t AsciiRun(const char*, std::size_t, bool, char*) {
  return 0;
}
#endif

}  // namespace

std::size_t Utf16ToText(const char* bytes, std::size_t unitCount, bool bigEndian, char* out) {
  char* const start = out;
  std::size_t i = 0;
  while (i < unitCount) {
    // Most log text is ASCII: many units at a time while it lasts.
    if (const std::size_t run = AsciiRun(bytes + 2 * i, unitCount - i, bigEndian, out)) {
      out += run;
      i += run;
      continue;
    }
    if (i + 4 <= unitCount) {
      const std::uint64_t word = FourUnits(bytes + 2 * i, bigEndian);
      if (AllAscii(word)) {
        const auto four =
            static_cast<std::uint32_t>((word & 0xFF) | ((word >> 8) & 0xFF00) |
                                       ((word >> 16) & 0xFF0000) | ((word >> 24) & 0xFF000000));
        std::memcpy(out, &four, sizeof four);
        out += 4;
        i += 4;
        continue;
      }
    }
    const std::uint16_t unit = Utf16UnitAt(bytes, i++, bigEndian);
    char32_t code = unit;
    if (IsHighSurrogate(unit) && i < unitCount &&
        IsLowSurrogate(Utf16UnitAt(bytes, i, bigEndian))) {
      code = 0x10000 + ((unit - 0xD800u) << 10) + (Utf16UnitAt(bytes, i++, bigEndian) - 0xDC00u);
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      code = kReplacement;
    }
    out = PutUtf8(code, out);
  }
  return static_cast<std::size_t>(out - start);
}

std::size_t Utf16UnitsOf(std::string_view text) {
  std::size_t units = 0;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof word);
    if ((word & 0x8080808080808080ull) == 0) {
      units += 8;
      continue;
    }
    units += UnitsOfBytes(text.substr(i, 8));
  }
  return units + UnitsOfBytes(text.substr(i));
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
