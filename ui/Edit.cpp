#include "ui/Edit.h"

namespace brontel::ui {

void Edit::SetText(std::string text) {
  if (text == text_)
    return;
  text_ = std::move(text);
  Notify(Change::Text);
  if (OnChange)
    OnChange(*this);
}

}  // namespace brontel::ui
