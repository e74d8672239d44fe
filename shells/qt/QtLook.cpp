#include "shells/qt/QtLook.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace brontel::qt {

namespace {

// The system colours a Qt palette can answer; the rest keep their classic values.
bool PaletteRoleOf(ui::Color color, QPalette::ColorRole& role) {
  switch (color) {
    case ui::clWindow:
      role = QPalette::Base;
      return true;
    case ui::clWindowText:
      role = QPalette::Text;
      return true;
    case ui::clHighlight:
      role = QPalette::Highlight;
      return true;
    case ui::clHighlightText:
      role = QPalette::HighlightedText;
      return true;
    case ui::clBtnFace:
      role = QPalette::Button;
      return true;
    case ui::clBtnText:
      role = QPalette::ButtonText;
      return true;
    default:
      return false;
  }
}

}  // namespace

QColor QtColorOf(ui::Color color, const QPalette& palette) {
  if (color == ui::clNone)
    return QColor();
  QPalette::ColorRole role = QPalette::NoRole;
  if (ui::IsSystemColor(color) && PaletteRoleOf(color, role))
    return palette.color(QPalette::Active, role);
  const ui::Color plain = ui::ResolveColor(color);
  return QColor(static_cast<int>(plain & 0xFF), static_cast<int>((plain >> 8) & 0xFF),
                static_cast<int>((plain >> 16) & 0xFF));
}

QFont QtFontOf(const ui::Font& font) {
  QFont qfont(QString::fromStdString(font.name));
  qfont.setStyleHint(QFont::SansSerif);
  if (font.height < 0)
    qfont.setPixelSize(-font.height);
  else if (font.height > 0)
    qfont.setPointSize(font.height);
  qfont.setBold(ui::HasStyle(font.style, ui::FontStyle::Bold));
  qfont.setItalic(ui::HasStyle(font.style, ui::FontStyle::Italic));
  qfont.setUnderline(ui::HasStyle(font.style, ui::FontStyle::Underline));
  qfont.setStrikeOut(ui::HasStyle(font.style, ui::FontStyle::StrikeOut));
  return qfont;
}

QFont QtMonospaceFontOf(const ui::Font& font) {
  QFont qfont = QtFontOf(font);
  qfont.setStyleHint(QFont::TypeWriter);
  qfont.setFixedPitch(true);
  if (!QFontInfo(qfont).fixedPitch()) {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    qfont.setFamily(fixed.family());
  }
  return qfont;
}

bool HasFontFamily(const QString& family) {
  return QFontDatabase().families().contains(family, Qt::CaseInsensitive);
}

}  // namespace brontel::qt
