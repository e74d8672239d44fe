/** @file RecordingCanvas.h: a canvas that records every drawing call and the cells it inked. */
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/Canvas.h"

namespace brontel::headless {

// One recorded drawing call. Colours are recorded as given (unresolved).
struct CanvasOp {
  enum class Kind : std::uint8_t { Fill, Text, MoveTo, LineTo };
  Kind kind;
  ui::Rect rect;      // Fill: the rectangle
  ui::Color color;    // Fill: brush colour; LineTo: pen colour
  ui::Point from;     // LineTo: start; MoveTo: the new position; Text: top left
  ui::Point to;       // LineTo: end
  std::string text;   // Text: the run
  ui::TextAttr attr;  // Text: the run's attributes
};

// A drawn character cell: what a screen would show at that cell's top-left pixel.
struct InkedCell {
  char character;
  ui::TextAttr attr;
};

// Records the calls of paint routines for tests, and keeps a map of the character cells they
// left (a later fill or run over a cell replaces it).
class RecordingCanvas : public ui::Canvas {
 public:
  explicit RecordingCanvas(ui::Size cellSize = ui::Size{7, 14}) : cellSize_(cellSize) {}

  ui::Size CellSize() const override { return cellSize_; }
  ui::Color BrushColor() const override { return brush_; }
  void SetBrushColor(ui::Color color) override { brush_ = color; }
  ui::Color PenColor() const override { return pen_; }
  void SetPenColor(ui::Color color) override { pen_ = color; }
  void FillRect(const ui::Rect& rect) override;
  void DrawTextRun(ui::Point topLeft, std::string_view text, const ui::TextAttr& attr) override;
  void MoveTo(ui::Point to) override;
  void LineTo(ui::Point to) override;

  const std::vector<CanvasOp>& Ops() const { return ops_; }
  std::vector<CanvasOp> OpsOf(CanvasOp::Kind kind) const;
  // Forgets the calls and the cells (not brush, pen or position).
  void Reset();

  // The cell whose top-left pixel is `at`, if a run drew one there.
  std::optional<InkedCell> CellAt(ui::Point at) const;
  // The characters of the pixel row `y` from x = `left` rightwards, cell after cell while the
  // cells are inked.
  std::string TextFrom(ui::Point start) const;
  // The fill colour that last covered the pixel `at` (fills only), if any.
  std::optional<ui::Color> FillColorAt(ui::Point at) const;

 private:
  ui::Size cellSize_;
  ui::Color brush_ = ui::clWhite;
  ui::Color pen_ = ui::clBlack;
  ui::Point position_;
  std::vector<CanvasOp> ops_;
  std::map<std::pair<int, int>, InkedCell> cells_;  // keyed by (y, x) of the top left
};

}  // namespace brontel::headless
