/** @file GdiCanvas.h: the text view's canvas on a GDI device context. */
#pragma once

#include <windows.h>

#include "shells/win32/FontCache.h"
#include "ui/Canvas.h"

namespace brontel::win32 {

// Draws on `dc` (the memory DC of a double-buffered paint) with `font` in its styles, in the
// fixed-pitch face that the cache settles on for it (see FontCache::GetFixedPitch). Colours
// are resolved when drawn: system colours through GetSysColor, clNone as "leave as is". The
// DC's selected objects are put back when the canvas goes.
class GdiCanvas final : public ui::Canvas {
 public:
  GdiCanvas(HDC dc, const ui::Font& font, FontCache& fonts);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  // The cell of the fixed-pitch `font` as `dc` measures it.
  static ui::Size MeasureCell(HDC dc, HFONT font);
  // A plain COLORREF for a model colour.
  static COLORREF ToColorRef(ui::Color color);

  ui::Size CellSize() const override { return cell_; }
  ui::Color BrushColor() const override { return brush_; }
  void SetBrushColor(ui::Color color) override { brush_ = color; }
  ui::Color PenColor() const override { return pen_; }
  void SetPenColor(ui::Color color) override { pen_ = color; }
  void FillRect(const ui::Rect& rect) override;
  void DrawTextRun(ui::Point topLeft, std::string_view text, const ui::TextAttr& attr) override;
  void MoveTo(ui::Point to) override;
  void LineTo(ui::Point to) override;

 private:
  HDC dc_;
  ui::Font font_;
  FontCache& fonts_;
  HGDIOBJ savedFont_;
  ui::Size cell_;
  ui::Color brush_ = ui::clWindow;
  ui::Color pen_ = ui::clWindowText;
};

}  // namespace brontel::win32
