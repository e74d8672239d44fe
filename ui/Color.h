/** @file Color.h: colour values (plain 0x00BBGGRR, system colour numbers, none) and font styles. */
#pragma once

#include <cstdint>

namespace brontel::ui {

// A plain colour is 0x00BBGGRR (red in the low byte); 0x80000000 + n names the platform's
// system colour number n; clNone (0x1FFFFFFF) means no colour. Models and the text view pass
// colours on unresolved; a canvas resolves system colours when it draws.
using Color = std::uint32_t;

inline constexpr Color clNone = 0x1FFFFFFF;

inline constexpr Color clBlack = 0x000000;
inline constexpr Color clMaroon = 0x000080;
inline constexpr Color clGreen = 0x008000;
inline constexpr Color clOlive = 0x008080;
inline constexpr Color clNavy = 0x800000;
inline constexpr Color clPurple = 0x800080;
inline constexpr Color clTeal = 0x808000;
inline constexpr Color clGray = 0x808080;
inline constexpr Color clSilver = 0xC0C0C0;
inline constexpr Color clRed = 0x0000FF;
inline constexpr Color clLime = 0x00FF00;
inline constexpr Color clYellow = 0x00FFFF;
inline constexpr Color clBlue = 0xFF0000;
inline constexpr Color clFuchsia = 0xFF00FF;
inline constexpr Color clAqua = 0xFFFF00;
inline constexpr Color clWhite = 0xFFFFFF;

inline constexpr Color kSystemColorBase = 0x80000000;
inline constexpr Color clScrollBar = kSystemColorBase + 0;
inline constexpr Color clBackground = kSystemColorBase + 1;
inline constexpr Color clActiveCaption = kSystemColorBase + 2;
inline constexpr Color clInactiveCaption = kSystemColorBase + 3;
inline constexpr Color clMenu = kSystemColorBase + 4;
inline constexpr Color clWindow = kSystemColorBase + 5;
inline constexpr Color clWindowFrame = kSystemColorBase + 6;
inline constexpr Color clMenuText = kSystemColorBase + 7;
inline constexpr Color clWindowText = kSystemColorBase + 8;
inline constexpr Color clCaptionText = kSystemColorBase + 9;
inline constexpr Color clActiveBorder = kSystemColorBase + 10;
inline constexpr Color clInactiveBorder = kSystemColorBase + 11;
inline constexpr Color clAppWorkSpace = kSystemColorBase + 12;
inline constexpr Color clHighlight = kSystemColorBase + 13;
inline constexpr Color clHighlightText = kSystemColorBase + 14;
inline constexpr Color clBtnFace = kSystemColorBase + 15;
inline constexpr Color clBtnShadow = kSystemColorBase + 16;
inline constexpr Color clGrayText = kSystemColorBase + 17;
inline constexpr Color clBtnText = kSystemColorBase + 18;
inline constexpr Color clInactiveCaptionText = kSystemColorBase + 19;
inline constexpr Color clBtnHighlight = kSystemColorBase + 20;
inline constexpr Color cl3DDkShadow = kSystemColorBase + 21;
inline constexpr Color cl3DLight = kSystemColorBase + 22;
inline constexpr Color clInfoText = kSystemColorBase + 23;
inline constexpr Color clInfoBk = kSystemColorBase + 24;

constexpr bool IsSystemColor(Color c) {
  return (c & 0xFF000000u) == kSystemColorBase;
}

// The classic default of system colour number n as a plain colour, for shells (and the
// headless canvas) that have no system palette of their own; unknown numbers give clBlack.
Color DefaultSystemColor(std::uint32_t n);

// A plain colour for `c`: system colours through DefaultSystemColor, clNone stays clNone, any
// other value keeps its low 24 bits.
Color ResolveColor(Color c);

// A font-style set: bit 1 bold, 2 italic, 4 underline, 8 strikeout.
enum class FontStyle : std::uint8_t {
  None = 0,
  Bold = 1,
  Italic = 2,
  Underline = 4,
  StrikeOut = 8
};

constexpr FontStyle operator|(FontStyle a, FontStyle b) {
  return static_cast<FontStyle>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr FontStyle operator&(FontStyle a, FontStyle b) {
  return static_cast<FontStyle>(static_cast<std::uint8_t>(a) & static_cast<std::uint8_t>(b));
}
constexpr FontStyle& operator|=(FontStyle& a, FontStyle b) {
  return a = a | b;
}
constexpr bool HasStyle(FontStyle set, FontStyle member) {
  return (set & member) != FontStyle::None;
}

// What one character cell is drawn with.
struct TextAttr {
  Color foreground = clWindowText;
  Color background = clWindow;
  FontStyle style = FontStyle::None;
  friend bool operator==(const TextAttr&, const TextAttr&) = default;
};

}  // namespace brontel::ui
