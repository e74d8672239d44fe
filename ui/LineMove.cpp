#include "ui/LineMove.h"

#include <algorithm>

namespace brontel::ui {

std::size_t LineMove::RowAfter(std::size_t row) const {
  if (row < dropFront)
    return 0;
  const std::size_t at = row - dropFront;  // counted after the drop, as runFirst is
  if (at < keep || runCount == 0)
    return at;
  const std::size_t runStart = keep + inserted;
  if (at < runFirst)
    return std::max(keep, runStart - std::min(runStart, runFirst - at));
  return runStart + (at - runFirst);
}

}  // namespace brontel::ui
