/** @file CheckBox.h: the check box model; a changed state runs its click handler. */
#pragma once

#include <string>

#include "ui/Control.h"

namespace brontel::ui {

// A two-state check box. Changing Checked, from code or by a user click, notifies the
// observers and then runs OnClick, the way the form's check box handlers expect; setting the
// state it already has does neither.
class CheckBox : public Control {
 public:
  explicit CheckBox(std::string name) : Control(std::move(name)) { SetColor(clBtnFace); }

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  void Toggle() { SetChecked(!checked_); }
  // A user click: toggles when the box is enabled.
  void Click();

  NotifyEvent OnClick;

 private:
  bool checked_ = false;
};

}  // namespace brontel::ui
