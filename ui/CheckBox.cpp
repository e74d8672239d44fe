#include "ui/CheckBox.h"

namespace brontel::ui {

void CheckBox::SetChecked(bool checked) {
  if (checked == checked_)
    return;
  checked_ = checked;
  Notify(Change::Checked);
  if (OnClick)
    OnClick(*this);
}

void CheckBox::Click() {
  if (Enabled())
    Toggle();
}

}  // namespace brontel::ui
