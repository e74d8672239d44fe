/** @file Action.h: actions with caption, hint and shortcut, and the action list that finds them. */
#pragma once

#include <string>
#include <vector>

#include "ui/Component.h"
#include "ui/Keys.h"

namespace brontel::ui {

// A command that menu items and shortcuts share.
class Action : public Component {
 public:
  explicit Action(std::string name) : Component(std::move(name)) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  ShortCut GetShortCut() const { return shortCut_; }
  void SetShortCut(ShortCut shortCut);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

  // Runs OnExecute when the action is enabled and has a handler; true when it ran.
  bool Execute();

  NotifyEvent OnExecute;

 private:
  std::string caption_;
  std::string hint_;
  ShortCut shortCut_ = 0;
  bool enabled_ = true;
  bool visible_ = true;
};

// A list of actions (not owned; the form owns them). The shells route a key that no control
// consumed to HandleShortCut.
class ActionList : public Component {
 public:
  explicit ActionList(std::string name) : Component(std::move(name)) {}

  void Add(Action& action) { actions_.push_back(&action); }
  const std::vector<Action*>& Actions() const { return actions_; }
  Action* Find(const std::string& name) const;

  // Executes the first enabled action whose shortcut is `key` with exactly the modifiers of
  // `shift`; true when one ran.
  bool HandleShortCut(KeyCode key, ShiftState shift);

 private:
  std::vector<Action*> actions_;
};

}  // namespace brontel::ui
