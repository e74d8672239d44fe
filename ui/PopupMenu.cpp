#include "ui/PopupMenu.h"

namespace brontel::ui {

std::string MenuItem::Caption() const {
  return action_ ? action_->Caption() : caption_;
}

// The item's own shortcut stands in for an action that has none, so a key the form handles
// itself (Ctrl+A) is still shown in the menu.
ShortCut MenuItem::GetShortCut() const {
  return action_ && action_->GetShortCut() != 0 ? action_->GetShortCut() : shortCut_;
}

bool MenuItem::Enabled() const {
  return action_ ? action_->Enabled() : true;
}

bool MenuItem::Visible() const {
  return action_ ? action_->Visible() : true;
}

void MenuItem::SetChecked(bool checked) {
  checkItem_ = true;
  checked_ = checked;
}

void MenuItem::Click() {
  if (action_) {
    action_->Execute();
  } else if (OnClick) {
    OnClick(*this);
  }
}

MenuItem& PopupMenu::AddItem(std::string name) {
  items_.push_back(std::make_unique<MenuItem>(std::move(name)));
  Notify(Change::Items);
  return *items_.back();
}

void PopupMenu::Clear() {
  items_.clear();
  Notify(Change::Items);
}

MenuItem* PopupMenu::Find(const std::string& name) const {
  for (const auto& item : items_) {
    if (item->name() == name)
      return item.get();
  }
  return nullptr;
}

void PopupMenu::Popup(Point at) {
  popupPoint_ = at;
  Notify(Change::Popup);
}

}  // namespace brontel::ui
