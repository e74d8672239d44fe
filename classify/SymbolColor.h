/** @file SymbolColor.h: the colours and font style of a message type, and their settings texts. */
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "ui/Color.h"

namespace brontel {

// Foreground colour, background colour and font style with which a message type's lines are
// shown. Colour values are those of ui/Color.h: plain 0x00BBGGRR, system colour 0x80000000 + n,
// clNone 0x1FFFFFFF. A new one has an empty style and the window's text colours.
struct TSymbolColor {
  ui::Color ForeColor = ui::clWindowText;
  ui::Color BackColor = ui::clWindow;
  ui::FontStyle Style = ui::FontStyle::None;

  friend bool operator==(const TSymbolColor&, const TSymbolColor&) = default;
};

// The integer form of colour and style texts: optional leading blanks, an optional "-" or "+",
// then decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X". Nothing may
// follow the digits. Decimal values must fit 32 bits signed; hexadecimal ones may use all 32
// bits ("$80000005" is the system colour clWindow, "$FFFFFFFF" is -1). Empty for anything else.
std::optional<std::int32_t> ParseIntegerText(std::string_view text);

// A colour text: one of the colour names ("clRed", "clWindowText", "clNone", ...; letter case
// ignored), or else the integer form above taken as a 32-bit colour value. Empty when the text
// is neither; the caller decides what colour that gives.
std::optional<ui::Color> ColorFromText(std::string_view text);

// A style text read as the integer form above: bit 1 bold, 2 italic, 4 underline; all other
// bits are ignored, so strikeout cannot be set. A text that is not an integer gives no style.
ui::FontStyle StyleFromText(std::string_view text);

}  // namespace brontel
