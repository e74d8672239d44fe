#include "shells/win32/GdiCanvas.h"

#include <algorithm>
#include <vector>

namespace brontel::win32 {

GdiCanvas::GdiCanvas(HDC dc, const ui::Font& font, FontCache& fonts)
    : dc_(dc),
      font_(fonts.FixedPitchOf(font)),
      fonts_(fonts),
      savedFont_(::SelectObject(dc, fonts.GetFixedPitch(font_))) {
  cell_ = MeasureCell(dc, fonts.GetFixedPitch(font_));
}

GdiCanvas::~GdiCanvas() {
  ::SelectObject(dc_, savedFont_);
}

ui::Size GdiCanvas::MeasureCell(HDC dc, HFONT font) {
  const HGDIOBJ previous = ::SelectObject(dc, font);
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  // The advance of the widest letter: in a fixed-pitch face that of every character, and in
  // any other (a last-resort stand-in) still no glyph spills into the next cell.
  SIZE widest{};
  ::GetTextExtentPoint32A(dc, "W", 1, &widest);
  ::SelectObject(dc, previous);
  return ui::Size{std::max<int>(1, widest.cx), std::max<int>(1, metrics.tmHeight)};
}

COLORREF GdiCanvas::ToColorRef(ui::Color color) {
  if (ui::IsSystemColor(color))
    return ::GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0x00FFFFFF);
}

void GdiCanvas::FillRect(const ui::Rect& rect) {
  if (brush_ == ui::clNone || rect.IsEmpty())
    return;
  const RECT area{rect.left, rect.top, rect.right, rect.bottom};
  const COLORREF previous = ::SetBkColor(dc_, ToColorRef(brush_));
  ::ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &area, "", 0, nullptr);  // the cheapest solid fill
  ::SetBkColor(dc_, previous);
}

void GdiCanvas::DrawTextRun(ui::Point topLeft, std::string_view text, const ui::TextAttr& attr) {
  if (text.empty())
    return;
  ui::Font styled = font_;
  styled.style = attr.style;
  ::SelectObject(dc_, fonts_.GetFixedPitch(styled));
  const int count = static_cast<int>(std::min<std::size_t>(text.size(), 8192));
  const RECT cells{topLeft.x, topLeft.y, topLeft.x + count * cell_.width, topLeft.y + cell_.height};
  // Every glyph advances by one cell, bold or not, so columns stay aligned.
  const std::vector<INT> advances(static_cast<std::size_t>(count), cell_.width);
  UINT options = ETO_CLIPPED;
  if (attr.background != ui::clNone) {
    options |= ETO_OPAQUE;
    ::SetBkMode(dc_, OPAQUE);
    ::SetBkColor(dc_, ToColorRef(attr.background));
  } else {
    ::SetBkMode(dc_, TRANSPARENT);
  }
  ::SetTextColor(dc_, attr.foreground == ui::clNone ? ToColorRef(ui::clWindowText)
                                                    : ToColorRef(attr.foreground));
  ::ExtTextOutA(dc_, topLeft.x, topLeft.y, options, &cells, text.data(), static_cast<UINT>(count),
                advances.data());
  ::SelectObject(dc_, fonts_.GetFixedPitch(font_));
}

void GdiCanvas::MoveTo(ui::Point to) {
  ::MoveToEx(dc_, to.x, to.y, nullptr);
}

void GdiCanvas::LineTo(ui::Point to) {
  HPEN pen = ::CreatePen(PS_SOLID, 1, ToColorRef(pen_));
  const HGDIOBJ previous = ::SelectObject(dc_, pen);
  ::LineTo(dc_, to.x, to.y);
  ::SelectObject(dc_, previous);
  ::DeleteObject(pen);
}

}  // namespace brontel::win32
