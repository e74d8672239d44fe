/** @file TestCasings.h: upper-case maps of made-up locales, so tests need no installed locale. */
#pragma once

#include "platform/Casing.h"

namespace brontel::testing {

// Latin-1 letters as an 8-bit locale upper-cases them: à..þ to À..Þ (not ÷), ÿ and ß stay.
inline platform::UpperCaseMap Latin1Casing() {
  return platform::UpperCaseMap::EightBit([](unsigned char byte) -> unsigned char {
    if (byte >= 'a' && byte <= 'z')
      return static_cast<unsigned char>(byte - 32);
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)
      return static_cast<unsigned char>(byte - 32);
    return byte;
  });
}

// A Turkish 8-bit locale: i upper-cases to İ (0xDD) and dotless ı (0xFD) to I.
inline platform::UpperCaseMap TurkishCasing() {
  return platform::UpperCaseMap::EightBit([](unsigned char byte) -> unsigned char {
    if (byte == 'i')
      return 0xDD;
    if (byte == 0xFD)
      return 'I';
    if (byte >= 'a' && byte <= 'z')
      return static_cast<unsigned char>(byte - 32);
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)
      return static_cast<unsigned char>(byte - 32);
    return byte;
  });
}

// A UTF-8 locale with the usual Latin-1 and Latin Extended-A case pairs, ÿ to Ÿ (U+0178), and the
// letters whose upper-case form is one byte (ı to I, ſ to S).
inline platform::UpperCaseMap Utf8Casing() {
  return platform::UpperCaseMap::Utf8(
      [](unsigned char byte) -> unsigned char {
        return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 32) : byte;
      },
      [](char32_t c) -> char32_t {
        if (c >= 'a' && c <= 'z')
          return c - 32;
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
          return c - 32;
        if (c == 0xFF)
          return 0x178;
        if (c == 0x131)
          return 'I';
        if (c == 0x17F)
          return 'S';
        if (c >= 0x100 && c < 0x178 && (c & 1) == 1)
          return c - 1;
        return c;
      });
}

}  // namespace brontel::testing
