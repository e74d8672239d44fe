#include "viewer/FilterTypeChoice.h"

#include <algorithm>

#include "settings/AsciiCase.h"
#include "viewer/ViewFilter.h"

namespace brontel {
namespace {

bool Holds(const std::vector<std::string>& types, const std::string& name) {
  return std::any_of(types.begin(), types.end(),
                     [&](const std::string& type) { return EqualIgnoringAsciiCase(type, name); });
}

// `types` with `name` taken out when it holds it (in any case), else added at the end.
std::vector<std::string> Toggled(std::vector<std::string> types, const std::string& name) {
  if (std::erase_if(
          types, [&](const std::string& type) { return EqualIgnoringAsciiCase(type, name); }) == 0)
    types.push_back(name);
  return types;
}

// The item that stands for exactly `types`, or -1.
int ItemOf(const std::vector<std::string>& items, const std::vector<std::string>& types) {
  if (types.empty())
    return FindBar::kAnyTypeItem;
  if (types.size() > 1)
    return -1;
  for (std::size_t i = FindBar::kCountedTypesItem; i < items.size(); ++i) {
    if (EqualIgnoringAsciiCase(items[i], types.front()))
      return static_cast<int>(i);
  }
  return -1;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names)
    text += (text.empty() ? "" : ", ") + name;
  return text;
}

// A menu caption shows '&' as the underline of the key after it; a type name means the sign.
std::string MenuCaption(const std::string& name) {
  std::string caption;
  for (char c : name)
    caption += c == '&' ? std::string("&&") : std::string(1, c);
  return caption;
}

}  // namespace

FilterTypeChoice::FilterTypeChoice(FindBar& bar) : bar_(bar) {
  bar_.comFilterTypes.OnChange = [this](ui::Component&) { Show(Chosen()); };
}

void FilterTypeChoice::Open(const std::vector<std::string>& types,
                            const std::vector<std::string>& typeNames) {
  typeNames_ = typeNames;
  FillMenu();
  Show(types);
}

void FilterTypeChoice::FillMenu() {
  bar_.mnuFilterTypes.Clear();
  AddMenuItem(std::string(kCountedTypesName));
  bar_.mnuFilterTypes.AddItem("N1").SetCaption("-");
  for (const std::string& name : typeNames_)
    AddMenuItem(name);
}

// Named after the type, so that the item says which type it toggles.
void FilterTypeChoice::AddMenuItem(const std::string& typeName) {
  ui::MenuItem& item = bar_.mnuFilterTypes.AddItem(typeName);
  item.SetCaption(MenuCaption(typeName));
  item.OnClick = [this, typeName](ui::Component&) { Show(Toggled(Chosen(), typeName)); };
}

std::vector<std::string> FilterTypeChoice::Chosen() const {
  const ui::ComboBox& list = bar_.comFilterTypes;
  const int index = list.ItemIndex();
  if (index <= FindBar::kAnyTypeItem)
    return {};
  if (!set_.empty() && index + 1 == static_cast<int>(list.Items().size()))
    return set_;
  return {list.Text()};
}

void FilterTypeChoice::Show(const std::vector<std::string>& types) {
  std::vector<std::string> items{std::string(FindBar::kAnyTypeText),
                                 std::string(kCountedTypesName)};
  items.insert(items.end(), typeNames_.begin(), typeNames_.end());
  int index = ItemOf(items, types);
  set_.clear();
  if (index < 0) {
    set_ = types;
    items.push_back(Joined(types));
    index = static_cast<int>(items.size()) - 1;
  }
  // A list whose items stay is left alone: the user may be moving through it.
  if (items != bar_.comFilterTypes.Items())
    bar_.comFilterTypes.SetItems(std::move(items));
  bar_.comFilterTypes.SetItemIndex(index);
  for (const auto& item : bar_.mnuFilterTypes.Items()) {
    if (!item->IsSeparator())
      item->SetChecked(Holds(types, item->name()));
  }
}

}  // namespace brontel
