#include "ui/Button.h"

namespace brontel::ui {

void Button::Click() {
  if (Enabled() && OnClick)
    OnClick(*this);
}

}  // namespace brontel::ui
