/** @file Edit.h: the single-line edit field model. */
#pragma once

#include <string>

#include "ui/Control.h"

namespace brontel::ui {

// A single-line edit field. SetText (from code or from the shell as the user types) notifies
// the observers and runs OnChange when the text differs. OnExit (from Control) runs when the
// focus leaves the field.
class Edit : public Control {
 public:
  explicit Edit(std::string name) : Control(std::move(name)) { SetColor(clWindow); }

  const std::string& Text() const { return text_; }
  void SetText(std::string text);

  NotifyEvent OnChange;

 private:
  std::string text_;
};

}  // namespace brontel::ui
