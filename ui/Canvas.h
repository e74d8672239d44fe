/** @file Canvas.h: the drawing surface of monospace cells that every shell supplies. */
#pragma once

#include <string_view>

#include "ui/Color.h"
#include "ui/Geometry.h"

namespace brontel::ui {

// What the text view and the gutter callback draw on. Coordinates are pixels of the control's
// client area. Colours arrive unresolved (system colours included); the canvas resolves them.
// A canvas is used on the UI thread only, for the duration of one paint call.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // Size of one character cell of the monospace font in pixels (both parts at least 1).
  virtual Size CellSize() const = 0;

  // Current brush (used by FillRect) and pen (used by LineTo).
  virtual Color BrushColor() const = 0;
  virtual void SetBrushColor(Color color) = 0;
  virtual Color PenColor() const = 0;
  virtual void SetPenColor(Color color) = 0;

  // Fills `rect` with the current brush colour.
  virtual void FillRect(const Rect& rect) = 0;

  // Draws `text` as a run of cells starting at `topLeft`, one cell per byte, each cell's
  // background filled with attr.background and its character drawn in attr.foreground with
  // attr.style.
  virtual void DrawTextRun(Point topLeft, std::string_view text, const TextAttr& attr) = 0;

  // Pen movement: MoveTo sets the current position, LineTo draws a line from it to `to` with
  // the current pen colour and makes `to` the current position.
  virtual void MoveTo(Point to) = 0;
  virtual void LineTo(Point to) = 0;
};

}  // namespace brontel::ui
