#include "viewer/CaretGutter.h"

namespace brontel {

namespace {

// Right edge of the gutter strip that the mark lives in.
int StripRight(const ui::TRAHLEditor& editor) {
  return editor.GutterWidth() - 4;
}

void DrawCaretTriangle(ui::Canvas& canvas, const ui::Rect& strip) {
  const int height = strip.bottom - strip.top;
  const ui::Point start{strip.left + 4, strip.top + 1};
  canvas.SetPenColor(ui::clBlack);
  canvas.MoveTo(start);
  canvas.LineTo(ui::Point{strip.left + 4, strip.bottom - 1});
  canvas.LineTo(ui::Point{strip.right - 1, strip.top + height / 2});
  canvas.LineTo(start);
}

}  // namespace

void _editorPaintGutter(ui::TRAHLEditor& sender, ui::Canvas& canvas) {
  const int visibleRows = sender.VisibleRows();
  for (int r = 0; r <= visibleRows; ++r) {
    const ui::Rect cell = sender.CellRect(0, r);
    const ui::Rect strip{1, cell.top, StripRight(sender), cell.bottom};
    canvas.FillRect(strip);
    if (sender.TopRow() + r == sender.CaretRow())
      DrawCaretTriangle(canvas, strip);
  }
}

void _editorChangeStatus(ui::TRAHLEditor& sender) {
  sender.InvalidateRect(ui::Rect{1, 1, StripRight(sender), sender.ClientHeight() + 1}, true);
}

}  // namespace brontel
