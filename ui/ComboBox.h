/** @file ComboBox.h: the drop-down list model (fixed items, one selected index). */
#pragma once

#include <string>
#include <vector>

#include "ui/Control.h"

namespace brontel::ui {

// A drop-down list of fixed items. ItemIndex is -1 (nothing selected) or an index into
// Items(). Setting the index from code only notifies the observers; a user's choice
// (UserSelect) also runs OnClick and then OnChange.
class ComboBox : public Control {
 public:
  explicit ComboBox(std::string name) : Control(std::move(name)) { SetColor(clWindow); }

  const std::vector<std::string>& Items() const { return items_; }
  // Replaces the items; an index that no longer fits becomes -1.
  void SetItems(std::vector<std::string> items);

  int ItemIndex() const { return itemIndex_; }
  // Values outside -1 .. Items().size() - 1 become -1.
  void SetItemIndex(int index);
  // The selected item's text, empty when nothing is selected.
  std::string Text() const;

  // The user picked item `index` (ignored while disabled or when out of range).
  void UserSelect(int index);

  NotifyEvent OnClick;
  NotifyEvent OnChange;

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

}  // namespace brontel::ui
