/** @file CaretGutter.h: the caret mark in the text view's gutter and its repaint request. */
#pragma once

#include "ui/Canvas.h"
#include "ui/TRAHLEditor.h"

namespace brontel {

// The gutter painting of a viewer's text view (bindable to TRAHLEditor::OnPaintGutter): each
// visible row, the partly visible one below the last included, gets a strip from x = 1 to
// gutter width - 4 filled with the canvas's current brush; the caret's row also gets the black
// outline of a triangle pointing right. Nothing else is drawn. UI thread only.
void _editorPaintGutter(ui::TRAHLEditor& sender, ui::Canvas& canvas);

// The status-change callback (bindable to TRAHLEditor::OnChangeStatus): asks for a repaint,
// with background erase, of the gutter strip from x = 1 to gutter width - 4 and y = 1 to client
// height + 1, so the caret mark follows the caret.
void _editorChangeStatus(ui::TRAHLEditor& sender);

}  // namespace brontel
