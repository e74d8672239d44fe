#include "shells/win32/ButtonGlyph.h"

#include <algorithm>

namespace brontel::win32 {
namespace {

void PaintFace(HDC dc, const RECT& area, bool pressed) {
  ::FillRect(dc, &area, ::GetSysColorBrush(pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE));
  ::FrameRect(dc, &area, ::GetSysColorBrush(pressed ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW));
}

void PaintTriangle(HDC dc, int cx, int cy, int half, bool up, COLORREF ink) {
  const int tip = up ? cy - half / 2 - 1 : cy + half / 2 + 1;
  const int base = up ? cy + half / 2 + 1 : cy - half / 2 - 1;
  const POINT corners[3] = {{cx - half, base}, {cx + half, base}, {cx, tip}};
  HBRUSH brush = ::CreateSolidBrush(ink);
  HPEN pen = ::CreatePen(PS_SOLID, 1, ink);
  const HGDIOBJ previousBrush = ::SelectObject(dc, brush);
  const HGDIOBJ previousPen = ::SelectObject(dc, pen);
  ::Polygon(dc, corners, 3);
  ::SelectObject(dc, previousPen);
  ::SelectObject(dc, previousBrush);
  ::DeleteObject(pen);
  ::DeleteObject(brush);
}

// Two pixels wide, as the symbol font's cross.
void PaintCross(HDC dc, int cx, int cy, int half, COLORREF ink) {
  HPEN pen = ::CreatePen(PS_SOLID, 1, ink);
  const HGDIOBJ previous = ::SelectObject(dc, pen);
  for (int shift = 0; shift < 2; ++shift) {
    // LineTo leaves out the last point, hence one further.
    ::MoveToEx(dc, cx - half + shift, cy - half, nullptr);
    ::LineTo(dc, cx + half + shift + 1, cy + half + 1);
    ::MoveToEx(dc, cx - half + shift, cy + half, nullptr);
    ::LineTo(dc, cx + half + shift + 1, cy - half - 1);
  }
  ::SelectObject(dc, previous);
  ::DeleteObject(pen);
}

void PaintCaption(HDC dc, RECT area, std::string_view caption, HFONT font, COLORREF ink) {
  const HGDIOBJ previous = ::SelectObject(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ink);
  ::DrawTextA(dc, caption.data(), static_cast<int>(caption.size()), &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, previous);
}

}  // namespace

ButtonGlyph GlyphOfCaption(std::string_view caption) {
  if (caption == "t")
    return ButtonGlyph::Up;
  if (caption == "u")
    return ButtonGlyph::Down;
  if (caption == "r")
    return ButtonGlyph::Cross;
  return ButtonGlyph::None;
}

void PaintGlyphButton(const DRAWITEMSTRUCT& item, ButtonGlyph glyph, std::string_view caption,
                      HFONT font) {
  const RECT& area = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  PaintFace(item.hDC, area, pressed);
  const COLORREF ink =
      ::GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const int cx = area.left + width / 2;
  const int cy = area.top + height / 2;
  const int half = std::max(1, std::min(width, height) / 2 - 2);
  switch (glyph) {
    case ButtonGlyph::Up:
    case ButtonGlyph::Down:
      PaintTriangle(item.hDC, cx, cy, half, glyph == ButtonGlyph::Up, ink);
      break;
    case ButtonGlyph::Cross:
      PaintCross(item.hDC, cx - 1, cy, half - 1, ink);
      break;
    case ButtonGlyph::None:
      PaintCaption(item.hDC, area, caption, font, ink);
      break;
  }
}

}  // namespace brontel::win32
