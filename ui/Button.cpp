#include "ui/Button.h"

namespace brontel::ui {

void Button::Click() {
  if (!Enabled())
    return;
  if (OnClick)
    OnClick(*this);
  if (dropDownMenu_ != nullptr)
    dropDownMenu_->Popup(Point{0, ClientHeight()});
}

}  // namespace brontel::ui
