/** @file AsciiCase.h: letter case of ASCII names (sections, keys, colour names). */
#pragma once

#include <string_view>

namespace brontel {

// ASCII only: the names compared are ASCII, and locale casing must not make other bytes equal.
inline char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace brontel
