/** @file LineMove.h: where an edit of a text view's lines moved the lines it kept. */
#pragma once

#include <cstddef>

#include "ui/LineStore.h"

namespace brontel::ui {

// Where an edit moved the lines it kept, so that a reader's place can move with them.
struct LineMove {
  std::size_t dropFront = 0;
  std::size_t keep = 0;
  std::size_t inserted = 0;  // before.size()
  std::size_t runFirst = 0;
  std::size_t runCount = 0;

  static LineMove Of(const LineEdit& edit) {
    return {edit.dropFront, edit.keep, edit.before.size(), edit.runFirst, edit.runCount};
  }
  // The row after the edit of the line at `row` before it. A kept line or a line of the run is
  // found where it went; a line that went gives the row of the line that took its place (the
  // nearest new line before the run, or a dropped line's first kept neighbour).
  std::size_t RowAfter(std::size_t row) const;
};

}  // namespace brontel::ui
