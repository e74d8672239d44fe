/** @file Panel.h: the panel (container) and bevel models. */
#pragma once

#include <cstdint>
#include <string>

#include "ui/Control.h"

namespace brontel::ui {

enum class BevelKind : std::uint8_t { None, Lowered, Raised };

// A container with an optional caption and a bevel round its edge.
class Panel : public Control {
 public:
  explicit Panel(std::string name) : Control(std::move(name)) {}

  BevelKind BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(BevelKind bevel) { bevelOuter_ = bevel; }

 private:
  BevelKind bevelOuter_ = BevelKind::Raised;
};

enum class BevelShape : std::uint8_t { Box, Frame, TopLine, BottomLine, LeftLine, RightLine };

// A decorative line or frame.
class Bevel : public Control {
 public:
  explicit Bevel(std::string name) : Control(std::move(name)) {}

  BevelShape Shape() const { return shape_; }
  void SetShape(BevelShape shape) { shape_ = shape; }
  BevelKind Style() const { return style_; }

 private:
  BevelShape shape_ = BevelShape::Box;
  BevelKind style_ = BevelKind::Lowered;
};

}  // namespace brontel::ui
