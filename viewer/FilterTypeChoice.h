/** @file FilterTypeChoice.h: the find bar's choice of the message types a filter shows. */
#pragma once

#include <string>
#include <vector>

#include "viewer/FindBar.h"

namespace brontel {

// Runs the bar's type list and its menu of check items as one choice: the list offers "any
// type", "counted" and each type, and, while the choice is a set of several names (or a name the
// types lack), one more item that shows the set; each menu item adds its type to the set or
// takes it out. A set comes back from Chosen as it was shown, in its order and spelling, so that
// a filter from the settings survives the bar. UI thread only.
class FilterTypeChoice {
 public:
  explicit FilterTypeChoice(FindBar& bar);
  FilterTypeChoice(const FilterTypeChoice&) = delete;
  FilterTypeChoice& operator=(const FilterTypeChoice&) = delete;

  // Offers `typeNames` and shows `types` as chosen.
  void Open(const std::vector<std::string>& types, const std::vector<std::string>& typeNames);
  // The type names chosen; empty: any type.
  std::vector<std::string> Chosen() const;

 private:
  void FillMenu();
  void AddMenuItem(const std::string& typeName);
  // Shows `types` in the list and in the menu's marks.
  void Show(const std::vector<std::string>& types);

  FindBar& bar_;
  std::vector<std::string> typeNames_;
  std::vector<std::string> set_;  // what the item after the type names stands for; empty: none
};

}  // namespace brontel
