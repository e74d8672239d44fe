/** @file QtCanvas.h: the monospace cell canvas on a QPainter. */
#pragma once

#include <QFont>
#include <QPainter>
#include <QPalette>
#include <array>

#include "ui/Canvas.h"

namespace brontel::qt {

// Draws the text view's cells with `painter`, one character per cell of `font`'s fixed pitch.
// A run of valid UTF-8 shows its characters, one per cell from the run's start, the cells of
// the remaining bytes blank; any other run shows each byte as its Latin-1 character. Control
// characters leave their cell blank. The painter, font and palette outlive the canvas.
class QtCanvas final : public ui::Canvas {
 public:
  QtCanvas(QPainter& painter, const QFont& font, const QPalette& palette);

  // The cell of `font`: the advance of a wide letter and the line spacing (both at least 1).
  static ui::Size CellSizeOf(const QFont& font);

  ui::Size CellSize() const override { return cell_; }
  ui::Color BrushColor() const override { return brush_; }
  void SetBrushColor(ui::Color color) override { brush_ = color; }
  ui::Color PenColor() const override { return pen_; }
  void SetPenColor(ui::Color color) override { pen_ = color; }
  void FillRect(const ui::Rect& rect) override;
  void DrawTextRun(ui::Point topLeft, std::string_view text, const ui::TextAttr& attr) override;
  void MoveTo(ui::Point to) override { position_ = to; }
  void LineTo(ui::Point to) override;

 private:
  const QFont& StyledFont(ui::FontStyle style);

  QPainter& painter_;
  const QPalette& palette_;
  ui::Size cell_;
  int ascent_;
  std::array<QFont, 16> styled_;
  std::array<bool, 16> styledReady_{};
  ui::Color brush_ = ui::clWindow;
  ui::Color pen_ = ui::clWindowText;
  ui::Point position_;
};

}  // namespace brontel::qt
