/** @file Button.h: the push button and flat speed button model. */
#pragma once

#include <string>

#include "ui/Control.h"

namespace brontel::ui {

// A push button (or, with Flat, a speed button). Click runs OnClick when the button is
// enabled; a cancel button is also clicked by Esc in shells that support it.
class Button : public Control {
 public:
  explicit Button(std::string name) : Control(std::move(name)) {}

  void Click();

  bool Cancel() const { return cancel_; }
  void SetCancel(bool cancel) { cancel_ = cancel; }
  bool Flat() const { return flat_; }
  void SetFlat(bool flat) { flat_ = flat; }

  NotifyEvent OnClick;

 private:
  bool cancel_ = false;
  bool flat_ = false;
};

}  // namespace brontel::ui
