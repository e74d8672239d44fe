#include "shells/qt/GlyphButton.h"

#include <QPainter>
#include <QPolygon>

#include "shells/qt/QtLook.h"

namespace brontel::qt {

GlyphButton::GlyphButton(const QString& symbolFontFamily, QWidget* parent)
    : QPushButton(parent), drawsShape_(!HasFontFamily(symbolFontFamily)) {
  setFocusPolicy(Qt::NoFocus);
}

GlyphButton::Glyph GlyphButton::GlyphOf(const QString& caption) {
  if (caption == QLatin1String("t"))
    return Glyph::Up;
  if (caption == QLatin1String("u"))
    return Glyph::Down;
  if (caption == QLatin1String("r"))
    return Glyph::Cross;
  return Glyph::None;
}

void GlyphButton::paintEvent(QPaintEvent* event) {
  const Glyph glyph = GlyphOf(text());
  if (!drawsShape_ || glyph == Glyph::None) {
    QPushButton::paintEvent(event);
    return;
  }
  QPainter painter(this);
  const QRect r = rect();
  const QPalette& pal = palette();
  painter.fillRect(r, isDown() ? pal.color(QPalette::Mid) : pal.color(QPalette::Button));
  painter.setPen(pal.color(QPalette::Shadow));
  painter.drawRect(r.adjusted(0, 0, -1, -1));
  const QColor ink = isEnabled() ? pal.color(QPalette::ButtonText) : pal.color(QPalette::Mid);
  const int cx = r.center().x() + (r.width() % 2 == 0 ? 1 : 0);
  const int cy = r.center().y();
  const int half = std::max(1, std::min(r.width(), r.height()) / 2 - 2);
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (glyph == Glyph::Cross) {
    painter.setPen(QPen(ink, 1.5));
    painter.drawLine(cx - half, cy - half, cx + half, cy + half);
    painter.drawLine(cx - half, cy + half, cx + half, cy - half);
    return;
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  const int tip = glyph == Glyph::Up ? cy - half / 2 - 1 : cy + half / 2 + 1;
  const int base = glyph == Glyph::Up ? cy + half / 2 + 1 : cy - half / 2 - 1;
  QPolygon triangle;
  triangle << QPoint(cx - half, base) << QPoint(cx + half, base) << QPoint(cx, tip);
  painter.drawPolygon(triangle);
}

}  // namespace brontel::qt
