/** @file QtLook.h: the layout's colours and fonts as Qt colours and fonts. */
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

#include "ui/Color.h"
#include "ui/Control.h"

namespace brontel::qt {

// A plain colour as it is; the system colours the host's palette has (window, text, selection,
// buttons) from `palette`, the others by their classic defaults. clNone gives an invalid colour.
QColor QtColorOf(ui::Color color, const QPalette& palette);

// The layout's font: its family (the system substitutes a metric-compatible one where the
// family is missing), a negative height as the character height in pixels, a positive one in
// points, and the style bits.
QFont QtFontOf(const ui::Font& font);

// The layout font of the text view, fixed pitch even where the family is missing.
QFont QtMonospaceFontOf(const ui::Font& font);

// True when the font database has `family` itself, not a substitute.
bool HasFontFamily(const QString& family);

}  // namespace brontel::qt
