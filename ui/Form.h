/** @file Form.h: the root control of a window: client size, caption, key preview. */
#pragma once

#include <string>

#include "ui/Control.h"

namespace brontel::ui {

// The root of a window's controls; it keeps the window's focus (see Control). A form has no
// parent; its bounds are its client area.
class Form : public Control {
 public:
  explicit Form(std::string name) : Control(std::move(name)) {}

  void SetClientSize(int width, int height) { SetBounds(Rect{0, 0, width, height}); }

  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool preview) { keyPreview_ = preview; }

 private:
  bool keyPreview_ = false;
};

}  // namespace brontel::ui
