/** @file Button.h: the push button and flat speed button model. */
#pragma once

#include <string>

#include "ui/Control.h"
#include "ui/PopupMenu.h"

namespace brontel::ui {

// A push button (or, with Flat, a speed button). Click runs OnClick when the button is
// enabled; a cancel button is also clicked by Esc in shells that support it. A button with a
// drop-down menu pops it up below itself after OnClick ran, so that the handler can bring the
// items up to date first.
class Button : public Control {
 public:
  explicit Button(std::string name) : Control(std::move(name)) {}

  void Click();

  bool Cancel() const { return cancel_; }
  void SetCancel(bool cancel) { cancel_ = cancel; }
  bool Flat() const { return flat_; }
  void SetFlat(bool flat) { flat_ = flat; }
  // Not owned; the shells show it for the button, so it is set before they bind the button.
  PopupMenu* DropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(PopupMenu* menu) { dropDownMenu_ = menu; }

  NotifyEvent OnClick;

 private:
  bool cancel_ = false;
  bool flat_ = false;
  PopupMenu* dropDownMenu_ = nullptr;
};

}  // namespace brontel::ui
