/** @file EditorFixture.h: a text view with a known geometry for the tests. */
#pragma once

#include <string>
#include <vector>

#include "ui/TRAHLEditor.h"

namespace brontel::ui::testing {

// Cells of 7 x 14 pixels, a gutter of 14, and a client area of `cols` x `rows` whole cells.
inline void SetGeometry(TRAHLEditor& editor, int cols, int rows) {
  editor.SetCellSize(Size{7, 14});
  editor.SetGutterWidth(14);
  editor.SetBounds(Rect{0, 20, 14 + 7 * cols, 20 + 14 * rows});
}

inline std::vector<std::string> NumberedLines(int count, const std::string& prefix = "line ") {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i)
    lines.push_back(prefix + std::to_string(i));
  return lines;
}

}  // namespace brontel::ui::testing
