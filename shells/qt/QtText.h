/** @file QtText.h: the system's 8-bit texts as Qt strings and back. */
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace brontel::qt {

// A line or caption as the user should read it: valid UTF-8 as UTF-8, anything else byte for
// byte as Latin-1, so that a binary line still shows one character per byte.
QString FromBytes(std::string_view bytes);

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// What the user typed, as the 8-bit text the core keeps (UTF-8).
std::string ToBytes(const QString& text);

}  // namespace brontel::qt
