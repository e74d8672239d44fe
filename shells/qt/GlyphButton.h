/** @file GlyphButton.h: a small push button whose symbol-font caption is drawn as a shape. */
#pragma once

#include <QPushButton>

namespace brontel::qt {

// The navigation arrows and the options panel's close cross carry captions in a symbol font
// ("t" an up triangle, "u" a down triangle, "r" a cross). Where the font is installed the
// caption is drawn in it; elsewhere the button draws the shape itself. Any other caption is
// drawn as text.
class GlyphButton final : public QPushButton {
 public:
  enum class Glyph { None, Up, Down, Cross };

  GlyphButton(const QString& symbolFontFamily, QWidget* parent);

  static Glyph GlyphOf(const QString& caption);
  // True when the button draws the shape instead of the caption.
  bool DrawsShape() const { return drawsShape_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool drawsShape_;
};

}  // namespace brontel::qt
