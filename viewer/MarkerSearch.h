/** @file MarkerSearch.h: moving the caret to the next or previous line with a marker. */
#pragma once

#include <functional>
#include <string_view>

#include "ui/TRAHLEditor.h"

namespace brontel {

// A displayed line is a marker line for `marker` when it is longer than one character, starts
// with the marker and has a blank as its second character. Tabs are already three blanks in
// the view, so "E" + tab + text qualifies, and so does "E" + one blank + text. The navigation
// markers are "E", "W", "U" and "|"; they do not follow the configured message types.
bool IsMarkerLine(std::string_view line, char marker);

// The top row that shows a hit on row `hitRow` about the middle of `visibleRows` rows:
// hitRow - visibleRows / 2 (rounded toward zero), but not below 0.
int MarkerTopRow(int hitRow, int visibleRows);

// Shows a hit on `row`: the top row becomes MarkerTopRow (left column kept), then the caret goes
// to the row (column kept).
void ShowMarkerRow(ui::TRAHLEditor& editor, int row);

// Searches the displayed lines after (GotoNext) or before (GotoPrev) the caret row for a marker
// line. The caller holds the viewer's lock. On a hit the top row becomes MarkerTopRow
// (left column kept), then the caret goes to the hit row (column kept); returns true. Without
// a hit nothing moves and the answer is false; there is no wrap-around. UI thread only.
bool GotoNext(ui::TRAHLEditor& editor, char marker);
bool GotoPrev(ui::TRAHLEditor& editor, char marker);

// Whether a displayed line is one a search looks for.
using LineTest = std::function<bool(std::string_view line)>;
// GotoNext and GotoPrev for the lines `isWanted` accepts.
bool GotoNextLine(ui::TRAHLEditor& editor, const LineTest& isWanted);
bool GotoPrevLine(ui::TRAHLEditor& editor, const LineTest& isWanted);

}  // namespace brontel
