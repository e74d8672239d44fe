#include "ui/Action.h"

namespace brontel::ui {

void Action::SetCaption(std::string caption) {
  if (caption == caption_)
    return;
  caption_ = std::move(caption);
  Notify(Change::Caption);
}

void Action::SetHint(std::string hint) {
  if (hint == hint_)
    return;
  hint_ = std::move(hint);
  Notify(Change::Hint);
}

void Action::SetShortCut(ShortCut shortCut) {
  if (shortCut == shortCut_)
    return;
  shortCut_ = shortCut;
  Notify(Change::ShortCut);
}

void Action::SetEnabled(bool enabled) {
  if (enabled == enabled_)
    return;
  enabled_ = enabled;
  Notify(Change::Enabled);
}

void Action::SetVisible(bool visible) {
  if (visible == visible_)
    return;
  visible_ = visible;
  Notify(Change::Visible);
}

bool Action::Execute() {
  if (!enabled_ || !OnExecute)
    return false;
  OnExecute(*this);
  return true;
}

Action* ActionList::Find(const std::string& name) const {
  for (Action* action : actions_) {
    if (action->name() == name)
      return action;
  }
  return nullptr;
}

bool ActionList::HandleShortCut(KeyCode key, ShiftState shift) {
  const ShortCut wanted = MakeShortCut(key, shift);
  if (wanted == 0)
    return false;
  for (Action* action : actions_) {
    if (action->GetShortCut() == wanted && action->Enabled())
      return action->Execute();
  }
  return false;
}

}  // namespace brontel::ui
