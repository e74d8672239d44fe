#include "viewer/FindBar.h"

#include <string>
#include <vector>

#include "viewer/ViewFilter.h"

namespace brontel {
namespace {

const ui::Font kTahoma{"Tahoma", -12, ui::FontStyle::None};
const ui::Font kMarlett{"Marlett", -11, ui::FontStyle::None};
constexpr int kBarHeight = 24;
constexpr int kRowTop = 2;
constexpr int kRowHeight = 20;

void Place(ui::Control& control, ui::Control& parent, int left, int width) {
  control.SetParent(&parent);
  control.SetBounds(ui::Rect::FromSize(left, kRowTop, width, kRowHeight));
}

void PlaceCheckBox(ui::CheckBox& box, ui::Panel& bar, int left, int width, const char* caption,
                   const char* hint) {
  Place(box, bar, left, width);
  box.SetCaption(caption);
  box.SetHint(hint);
  box.SetShowHint(true);
}

void PlaceButton(ui::Button& button, ui::Panel& bar, int left, int width, const char* caption,
                 const char* hint) {
  Place(button, bar, left, width);
  button.SetCaption(caption);
  button.SetHint(hint);
  button.SetShowHint(true);
}

std::vector<std::string> ContextItems() {
  std::vector<std::string> items;
  for (int n = 0; n <= kMaxFilterContext; ++n)
    items.push_back(std::to_string(n));
  return items;
}

}  // namespace

void FindBar::Place(ui::Form& form) {
  pnlFindBar.SetParent(&form);
  pnlFindBar.SetAlign(ui::Align::Bottom);
  pnlFindBar.SetBounds(ui::Rect::FromSize(0, 595 - kBarHeight, 657, kBarHeight));
  pnlFindBar.SetCaption("");
  pnlFindBar.SetFont(kTahoma);
  pnlFindBar.SetBevelOuter(ui::BevelKind::None);
  pnlFindBar.SetVisible(false);

  brontel::Place(edtFind, pnlFindBar, 4, 120);
  edtFind.SetHint("Text or expression to find or filter by (Enter: next, Shift+Enter: previous)");
  edtFind.SetShowHint(true);
  PlaceCheckBox(chkExpression, pnlFindBar, 128, 40, ".*", "Regular expression");
  PlaceCheckBox(chkMatchCase, pnlFindBar, 170, 40, "Aa", "Match case");
  PlaceCheckBox(chkWholeWords, pnlFindBar, 212, 40, "W", "Whole words (for a text)");
  PlaceButton(btnFindPrev, pnlFindBar, 256, 22, "<", "Previous match (Shift+Enter)");
  PlaceButton(btnFindNext, pnlFindBar, 280, 22, ">", "Next match (Enter)");
  brontel::Place(lblFindStatus, pnlFindBar, 306, 76);
  lblFindStatus.SetCaption("");
  lblFindStatus.SetCenteredVertically(true);

  brontel::Place(comFilterTypes, pnlFindBar, 386, 78);
  comFilterTypes.SetItems({std::string(kAnyTypeText), std::string(kCountedTypesName)});
  comFilterTypes.SetItemIndex(kAnyTypeItem);
  comFilterTypes.SetHint("Show only the lines of this message type (several: the button beside)");
  comFilterTypes.SetShowHint(true);
  PlaceButton(btnFilterTypes, pnlFindBar, 465, 20, "...", "Choose several message types to show");
  btnFilterTypes.SetDropDownMenu(&mnuFilterTypes);
  brontel::Place(comFilterContext, pnlFindBar, 486, 36);
  comFilterContext.SetItems(ContextItems());
  comFilterContext.SetItemIndex(0);
  comFilterContext.SetHint("Lines of context before and after each line shown");
  comFilterContext.SetShowHint(true);
  PlaceCheckBox(chkHideMatching, pnlFindBar, 524, 60, "&Hide",
                "Hide the lines the expression matches");
  PlaceButton(btnFilter, pnlFindBar, 586, 50, "&Filter",
              "Filter the view by the field's expression and the types (empty: no filter)");

  brontel::Place(btnCloseBar, pnlFindBar, 641, 13);
  btnCloseBar.SetAnchors(ui::Anchors{false, true, true, false});
  btnCloseBar.SetTabStop(false);
  btnCloseBar.SetFont(kMarlett);
  btnCloseBar.SetCaption("r");
  btnCloseBar.SetHint("Close the bar (Esc)");
  btnCloseBar.SetShowHint(true);
}

}  // namespace brontel
