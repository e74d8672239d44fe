/** @file NulBytes.h: how the view shows the NUL bytes of a log's text. */
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brontel::ui {

// What the view shows in place of each NUL byte. A log often holds a run of them where space
// was allocated but never written (a power loss before the write came); the text after such a
// run must stay visible, classified, counted and searchable, so a NUL byte never ends a line or
// a text. One byte for one byte: lines keep their lengths and offsets.
inline constexpr char kNulPlaceholder = '?';

// Replaces each NUL byte of `size` bytes at `data` by kNulPlaceholder, in place. Returns how
// many there were.
std::size_t ShowNulBytes(char* data, std::size_t size);

// `text` as the view shows it: `text` itself when it holds no NUL byte, otherwise a copy in
// `shown` with the NUL bytes replaced. A view into `text` or `shown`.
std::string_view ShownText(std::string_view text, std::string& shown);

}  // namespace brontel::ui
