/** @file ButtonGlyph.h: a push button's symbol-font caption drawn as a shape. */
#pragma once

#include <windows.h>

#include <string_view>

namespace brontel::win32 {

// The navigation arrows and the options panel's close cross carry captions in a symbol font
// ("t" an up triangle, "u" a down triangle, "r" a cross). Where that font is missing the
// button is owner-drawn and paints the shape itself.
enum class ButtonGlyph { None, Up, Down, Cross };

ButtonGlyph GlyphOfCaption(std::string_view caption);

// Paints an owner-drawn button: face and frame, pressed or not, and `glyph` in the button's
// text colour (grey when disabled); with no glyph the caption as text in `font`.
void PaintGlyphButton(const DRAWITEMSTRUCT& item, ButtonGlyph glyph, std::string_view caption,
                      HFONT font);

}  // namespace brontel::win32
