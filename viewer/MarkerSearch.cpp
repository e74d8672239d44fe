#include "viewer/MarkerSearch.h"

namespace brontel {
namespace {

// The rows that exist both in the view's row count and in its lines.
int SearchableRows(const ui::TRAHLEditor& editor) {
  const auto lines = static_cast<long long>(editor.LineCount());
  const int rows = editor.RowCount();
  return lines < rows ? static_cast<int>(lines) : rows;
}

bool IsWantedRow(const ui::TRAHLEditor& editor, int row, const LineTest& isWanted) {
  return isWanted(editor.Line(static_cast<std::size_t>(row)));
}

LineTest MarkerTest(char marker) {
  return [marker](std::string_view line) { return IsMarkerLine(line, marker); };
}

}  // namespace

void ShowMarkerRow(ui::TRAHLEditor& editor, int row) {
  editor.ScrollTo(editor.LeftCol(), MarkerTopRow(row, editor.VisibleRows()));
  editor.SetCaretRow(row);
}

bool IsMarkerLine(std::string_view line, char marker) {
  return line.size() > 1 && line[0] == marker && line[1] == ' ';
}

int MarkerTopRow(int hitRow, int visibleRows) {
  const int top = hitRow - visibleRows / 2;
  return top < 0 ? 0 : top;
}

bool GotoNext(ui::TRAHLEditor& editor, char marker) {
  return GotoNextLine(editor, MarkerTest(marker));
}

bool GotoPrev(ui::TRAHLEditor& editor, char marker) {
  return GotoPrevLine(editor, MarkerTest(marker));
}

bool GotoNextLine(ui::TRAHLEditor& editor, const LineTest& isWanted) {
  const int rows = SearchableRows(editor);
  for (int row = editor.CaretRow() + 1; row < rows; ++row) {
    if (IsWantedRow(editor, row, isWanted)) {
      ShowMarkerRow(editor, row);
      return true;
    }
  }
  return false;
}

bool GotoPrevLine(ui::TRAHLEditor& editor, const LineTest& isWanted) {
  const int rows = SearchableRows(editor);
  // A caret beyond the lines (it should not be) starts the search at the last line.
  int row = editor.CaretRow() - 1;
  if (row >= rows)
    row = rows - 1;
  for (; row >= 0; --row) {
    if (IsWantedRow(editor, row, isWanted)) {
      ShowMarkerRow(editor, row);
      return true;
    }
  }
  return false;
}

}  // namespace brontel
