#include "ui/ComboBox.h"

namespace brontel::ui {

void ComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  Notify(Change::Items);
  if (itemIndex_ >= static_cast<int>(items_.size()))
    SetItemIndex(-1);
}

void ComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size()))
    index = -1;
  if (index == itemIndex_)
    return;
  itemIndex_ = index;
  Notify(Change::ItemIndex);
}

std::string ComboBox::Text() const {
  return itemIndex_ < 0 ? std::string() : items_[static_cast<std::size_t>(itemIndex_)];
}

void ComboBox::UserSelect(int index) {
  if (!Enabled() || index < 0 || index >= static_cast<int>(items_.size()))
    return;
  SetItemIndex(index);
  if (OnClick)
    OnClick(*this);
  if (OnChange)
    OnChange(*this);
}

}  // namespace brontel::ui
