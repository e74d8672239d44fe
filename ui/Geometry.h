/** @file Geometry.h: pixel points, sizes and rectangles shared by the controls and every shell. */
#pragma once

#include <algorithm>

namespace brontel::ui {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Half-open pixel rectangle: left and top are inside, right and bottom are not.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  static constexpr Rect FromSize(int left, int top, int width, int height) {
    return Rect{left, top, left + width, top + height};
  }
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  constexpr bool Contains(Point p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  constexpr bool Intersects(const Rect& other) const {
    return !IsEmpty() && !other.IsEmpty() && left < other.right && other.left < right &&
           top < other.bottom && other.top < bottom;
  }
  // The smallest rectangle holding both; an empty operand does not widen the result.
  constexpr Rect United(const Rect& other) const {
    if (IsEmpty())
      return other;
    if (other.IsEmpty())
      return *this;
    return Rect{std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace brontel::ui
