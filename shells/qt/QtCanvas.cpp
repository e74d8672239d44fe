#include "shells/qt/QtCanvas.h"

#include <QFontMetrics>
#include <algorithm>

#include "shells/qt/QtLook.h"
#include "shells/qt/QtText.h"

namespace brontel::qt {

namespace {

QRect QtRectOf(const ui::Rect& rect) {
  return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

bool IsControlCharacter(QChar c) {
  const char16_t code = c.unicode();
  return code < 0x20 || (code >= 0x7F && code < 0xA0);
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, const QFont& font, const QPalette& palette)
    : painter_(painter),
      palette_(palette),
      cell_(CellSizeOf(font)),
      ascent_(QFontMetrics(font).ascent()) {
  styled_[0] = font;
  styledReady_[0] = true;
}

ui::Size QtCanvas::CellSizeOf(const QFont& font) {
  const QFontMetrics metrics(font);
  return ui::Size{std::max(1, metrics.horizontalAdvance(QLatin1Char('M'))),
                  std::max(1, metrics.height())};
}

void QtCanvas::FillRect(const ui::Rect& rect) {
  const QColor color = QtColorOf(brush_, palette_);
  if (color.isValid() && !rect.IsEmpty())
    painter_.fillRect(QtRectOf(rect), color);
}

void QtCanvas::DrawTextRun(ui::Point topLeft, std::string_view text, const ui::TextAttr& attr) {
  const int cells = static_cast<int>(text.size());
  const QColor background = QtColorOf(attr.background, palette_);
  if (background.isValid())
    painter_.fillRect(QRect(topLeft.x, topLeft.y, cells * cell_.width, cell_.height), background);
  const QString shown = FromBytes(text);
  painter_.setFont(StyledFont(attr.style));
  painter_.setPen(QtColorOf(attr.foreground, palette_));
  const int baseline = topLeft.y + ascent_;
  int cell = 0;
  for (int i = 0; i < shown.size() && cell < cells; ++i, ++cell) {
    const QChar c = shown.at(i);
    if (c.isHighSurrogate() && i + 1 < shown.size()) {
      painter_.drawText(topLeft.x + cell * cell_.width, baseline, shown.mid(i, 2));
      ++i;
      continue;
    }
    if (!IsControlCharacter(c) && c != QLatin1Char(' '))
      painter_.drawText(topLeft.x + cell * cell_.width, baseline, QString(c));
  }
}

void QtCanvas::LineTo(ui::Point to) {
  const QColor color = QtColorOf(pen_, palette_);
  if (color.isValid()) {
    painter_.setPen(QPen(color, 1));
    painter_.drawLine(position_.x, position_.y, to.x, to.y);
  }
  position_ = to;
}

const QFont& QtCanvas::StyledFont(ui::FontStyle style) {
  const auto index = static_cast<std::size_t>(style) & 0x0F;
  if (!styledReady_[index]) {
    QFont font = styled_[0];
    font.setBold(ui::HasStyle(style, ui::FontStyle::Bold));
    font.setItalic(ui::HasStyle(style, ui::FontStyle::Italic));
    font.setUnderline(ui::HasStyle(style, ui::FontStyle::Underline));
    font.setStrikeOut(ui::HasStyle(style, ui::FontStyle::StrikeOut));
    styled_[index] = font;
    styledReady_[index] = true;
  }
  return styled_[index];
}

}  // namespace brontel::qt
