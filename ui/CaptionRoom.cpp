#include "ui/CaptionRoom.h"

#include <algorithm>
#include <climits>

namespace brontel::ui {

namespace {

// The left edge of the nearest sibling that starts right of `designed` on its rows.
int RightNeighbourEdge(const Control& control, const Rect& designed) {
  int edge = INT_MAX;
  if (control.Parent() == nullptr)
    return edge;
  for (const Control* sibling : control.Parent()->Children()) {
    const Rect& other = sibling->Bounds();
    if (sibling != &control && other.left >= designed.right && other.top < designed.bottom &&
        designed.top < other.bottom)
      edge = std::min(edge, other.left);
  }
  return edge;
}

}  // namespace

Rect CaptionBounds(const Control& control, Size need) {
  const Rect& designed = control.Bounds();
  Rect placed = designed;
  if (control.GetAlign() != Align::None)
    return placed;
  if (const int more = need.height - designed.Height(); more > 0) {
    placed.top -= more / 2;
    placed.bottom += more - more / 2;
  }
  if (need.width <= designed.Width())
    return placed;
  placed.right = placed.left + need.width;
  const int overlap = placed.right - RightNeighbourEdge(control, designed);
  if (overlap > 0) {
    const int shift = std::min(overlap, std::max(placed.left, 0));
    placed.left -= shift;
    placed.right -= shift;
  }
  return placed;
}

}  // namespace brontel::ui
