/** @file FindBar.h: the one-line bar of a viewer window that finds and filters. */
#pragma once

#include <string_view>

#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Keys.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/PopupMenu.h"

namespace brontel {

// The key that opens the bar; neither the viewer nor its hosts use it otherwise.
inline constexpr ui::ShortCut kFindBarShortCut = ui::scCtrl | 'B';

// The bar's controls as the shells draw them: a panel along the bottom of the window, hidden
// until opened, holding the text or expression field, the find options and buttons, the filter
// choices (message type, context lines, "hide matching") and a status label that says which
// match is selected, that the search wrapped, or why an expression was refused. Beside the type
// choice a small button drops down a menu of check items, one for each type, that chooses
// several.
struct FindBar {
  // The items of comFilterTypes before the type names.
  static constexpr int kAnyTypeItem = 0;
  static constexpr int kCountedTypesItem = 1;
  static constexpr std::string_view kAnyTypeText = "any type";

  // Places the bar on `form` (hidden).
  void Place(ui::Form& form);

  ui::Panel pnlFindBar{"pnlFindBar"};
  ui::Edit edtFind{"edtFind"};
  ui::CheckBox chkExpression{"chkExpression"};
  ui::CheckBox chkMatchCase{"chkMatchCase"};
  ui::CheckBox chkWholeWords{"chkWholeWords"};
  ui::Button btnFindPrev{"btnFindPrev"};
  ui::Button btnFindNext{"btnFindNext"};
  ui::ComboBox comFilterTypes{"comFilterTypes"};
  ui::PopupMenu mnuFilterTypes{"mnuFilterTypes"};
  ui::Button btnFilterTypes{"btnFilterTypes"};
  ui::ComboBox comFilterContext{"comFilterContext"};
  ui::CheckBox chkHideMatching{"chkHideMatching"};
  ui::Button btnFilter{"btnFilter"};
  ui::Label lblFindStatus{"lblFindStatus"};
  ui::Button btnCloseBar{"btnCloseBar"};
};

}  // namespace brontel
