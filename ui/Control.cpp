#include "ui/Control.h"

#include <algorithm>

namespace brontel::ui {

Control::Control(std::string name) : Component(std::move(name)) {}

Control::~Control() {
  Control* root = Root();
  if (root->focused_ == this)
    root->focused_ = nullptr;
  for (Control* child : children_)
    child->parent_ = nullptr;
  children_.clear();
  if (parent_)
    std::erase(parent_->children_, this);
  parent_ = nullptr;
}

void Control::SetParent(Control* parent) {
  if (parent == parent_)
    return;
  if (parent_) {
    ForgetFocusOf(this);
    std::erase(parent_->children_, this);
  }
  parent_ = parent;
  if (parent_) {
    parent_->children_.push_back(this);
    parent_->Realign();
  }
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_)
    return;
  enabled_ = enabled;
  if (!enabled_)
    ForgetFocusOf(this);
  Notify(Change::Enabled);
}

void Control::SetVisible(bool visible) {
  if (visible == visible_)
    return;
  visible_ = visible;
  if (!visible_)
    ForgetFocusOf(this);
  if (parent_)
    parent_->Realign();
  Notify(Change::Visible);
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible_)
      return false;
  }
  return true;
}

void Control::SetBounds(const Rect& bounds) {
  if (bounds == bounds_)
    return;
  const Rect oldClient{0, 0, bounds_.Width(), bounds_.Height()};
  bounds_ = bounds;
  const Rect newClient{0, 0, bounds_.Width(), bounds_.Height()};
  if (oldClient != newClient) {
    for (Control* child : std::vector<Control*>(children_)) {
      child->ApplyAnchors(oldClient, newClient);
    }
  }
  Notify(Change::Bounds);
  Realign();
}

void Control::SetAlign(Align align) {
  if (align == align_)
    return;
  align_ = align;
  if (parent_)
    parent_->Realign();
}

void Control::ApplyAnchors(const Rect& oldParent, const Rect& newParent) {
  if (align_ != Align::None)
    return;  // aligned children are placed by Realign
  // A parent that gets its first size (the form taking its designed client size) moves
  // nothing: the children's bounds are already the designed ones.
  const int dw = oldParent.Width() > 0 ? newParent.Width() - oldParent.Width() : 0;
  const int dh = oldParent.Height() > 0 ? newParent.Height() - oldParent.Height() : 0;
  Rect r = bounds_;
  if (anchors_.right) {
    if (anchors_.left) {
      r.right += dw;
    } else {
      r.left += dw;
      r.right += dw;
    }
  }
  if (anchors_.bottom) {
    if (anchors_.top) {
      r.bottom += dh;
    } else {
      r.top += dh;
      r.bottom += dh;
    }
  }
  SetBounds(r);
}

void Control::Realign() {
  Rect free{0, 0, bounds_.Width(), bounds_.Height()};
  auto place = [&](Align which) {
    for (Control* child : std::vector<Control*>(children_)) {
      if (child->align_ != which || !child->visible_)
        continue;
      const int w = child->bounds_.Width();
      const int h = child->bounds_.Height();
      Rect r;
      switch (which) {
        // Aligned children keep their height (or width) even when the room runs out, so
        // that a parent laid out before it has its final size does not shrink them for good.
        case Align::Top:
          r = Rect{free.left, free.top, free.right, free.top + h};
          free.top = std::min(r.bottom, free.bottom);
          break;
        case Align::Bottom:
          r = Rect{free.left, free.bottom - h, free.right, free.bottom};
          free.bottom = std::max(r.top, free.top);
          break;
        case Align::Left:
          r = Rect{free.left, free.top, free.left + w, free.bottom};
          free.left = std::min(r.right, free.right);
          break;
        case Align::Right:
          r = Rect{free.right - w, free.top, free.right, free.bottom};
          free.right = std::max(r.left, free.left);
          break;
        case Align::Client:
          r = free;
          break;
        case Align::None:
          return;
      }
      child->SetBounds(r);
    }
  };
  place(Align::Top);
  place(Align::Bottom);
  place(Align::Left);
  place(Align::Right);
  place(Align::Client);
}

void Control::SetCaption(std::string caption) {
  if (caption == caption_)
    return;
  caption_ = std::move(caption);
  Notify(Change::Caption);
}

void Control::SetHint(std::string hint) {
  if (hint == hint_)
    return;
  hint_ = std::move(hint);
  Notify(Change::Hint);
}

void Control::SetColor(Color color) {
  if (color == color_)
    return;
  color_ = color;
  Notify(Change::Color);
}

void Control::SetFont(const Font& font) {
  if (font == font_)
    return;
  font_ = font;
  Notify(Change::Font);
}

Control* Control::Root() {
  Control* c = this;
  while (c->parent_)
    c = c->parent_;
  return c;
}

const Control* Control::Root() const {
  const Control* c = this;
  while (c->parent_)
    c = c->parent_;
  return c;
}

bool Control::Focused() const {
  return Root()->focused_ == this;
}

bool Control::CanFocus() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible_ || !c->enabled_)
      return false;
  }
  return true;
}

Control* Control::FocusedControl() const {
  return Root()->focused_;
}

bool Control::SetFocus() {
  if (!CanFocus())
    return false;
  MoveFocusTo(this);
  return true;
}

void Control::MoveFocusTo(Control* target) {
  Control* root = Root();
  Control* previous = root->focused_;
  if (previous == target)
    return;
  root->focused_ = target;
  if (previous) {
    previous->Notify(Change::Focus);
    if (previous->OnExit)
      previous->OnExit(*previous);
  }
  if (target) {
    target->Notify(Change::Focus);
    if (target->OnEnter)
      target->OnEnter(*target);
  }
}

// A control that can no longer hold the focus (hidden, disabled, moved to another parent)
// gives it up, and so do its descendants.
void Control::ForgetFocusOf(Control* leaving) {
  Control* root = Root();
  for (Control* c = root->focused_; c; c = c->parent_) {
    if (c == leaving) {
      MoveFocusTo(nullptr);
      return;
    }
  }
}

}  // namespace brontel::ui
