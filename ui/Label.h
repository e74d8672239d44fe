/** @file Label.h: the static text model, optionally naming the control its accelerator focuses. */
#pragma once

#include <string>

#include "ui/Control.h"

namespace brontel::ui {

// Static text. The caption may carry an accelerator ("&Basename:" underlines B); the
// accelerator moves the focus to FocusControl.
class Label : public Control {
 public:
  explicit Label(std::string name) : Control(std::move(name)) {}

  Control* FocusControl() const { return focusControl_; }
  void SetFocusControl(Control* control) { focusControl_ = control; }

  // The accelerator letter of the caption in upper case ("&Basename:" gives 'B'), or 0.
  char Accelerator() const;
  // Runs the accelerator: gives FocusControl the focus; false when it could not.
  bool ActivateAccelerator();

  bool CenteredVertically() const { return centeredVertically_; }
  void SetCenteredVertically(bool centered) { centeredVertically_ = centered; }

 private:
  Control* focusControl_ = nullptr;
  bool centeredVertically_ = false;
};

// The accelerator of a caption: the character after the first single "&" ("&&" is a literal
// ampersand), upper-cased; 0 when there is none.
char CaptionAccelerator(const std::string& caption);

}  // namespace brontel::ui
