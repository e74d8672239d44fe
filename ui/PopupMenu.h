/** @file PopupMenu.h: the context menu model and its items. */
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Action.h"
#include "ui/Component.h"
#include "ui/Geometry.h"

namespace brontel::ui {

// One menu entry. With an action, caption, shortcut, enabled and visible come from the
// action and a click executes it; the item's own shortcut shows when the action has none.
// A caption of "-" makes a separator. A check item shows a mark while it is checked; its click
// handler decides what the click changes, so the mark follows the state it stands for.
class MenuItem : public Component {
 public:
  explicit MenuItem(std::string name) : Component(std::move(name)) {}

  Action* GetAction() const { return action_; }
  void SetAction(Action* action) { action_ = action; }

  std::string Caption() const;
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  ShortCut GetShortCut() const;
  void SetShortCut(ShortCut shortCut) { shortCut_ = shortCut; }
  bool Enabled() const;
  bool Visible() const;
  bool IsSeparator() const { return Caption() == "-"; }
  bool IsCheckItem() const { return checkItem_; }
  bool Checked() const { return checked_; }
  // Makes the item a check item in that state.
  void SetChecked(bool checked);

  // The user chose the item: executes its action, or runs OnClick without one.
  void Click();

  NotifyEvent OnClick;

 private:
  Action* action_ = nullptr;
  std::string caption_;
  ShortCut shortCut_ = 0;
  bool checkItem_ = false;
  bool checked_ = false;
};

// A context or drop-down menu. Popup asks the shell (Change::Popup) to show it at a point of the
// coordinates the shell reported for the control it belongs to (the text view it pops up in, the
// button it drops down from); the shell calls the chosen item's Click.
class PopupMenu : public Component {
 public:
  explicit PopupMenu(std::string name) : Component(std::move(name)) {}

  // Adds an item owned by the menu and returns it.
  MenuItem& AddItem(std::string name);
  void Clear();
  const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }
  MenuItem* Find(const std::string& name) const;

  void Popup(Point at);
  Point PopupPoint() const { return popupPoint_; }

 private:
  std::vector<std::unique_ptr<MenuItem>> items_;
  Point popupPoint_;
};

}  // namespace brontel::ui
