#include "viewer/NavigationCommands.h"

#include <algorithm>

#include "viewer/MarkerSearch.h"

namespace brontel {

std::string NavigationHint(const NavigationAction& action) {
  std::string keys = ui::ShortCutToText(action.shortCut);
  std::replace(keys.begin(), keys.end(), '+', '-');
  return std::string(action.caption) + " (" + keys + ")";
}

const NavigationAction& NavigationActionFor(MarkerJump jump) {
  for (std::size_t i = 1; i < NavigationActions.size(); ++i) {
    const NavigationAction& action = NavigationActions[i];
    if (action.jump.marker == jump.marker && action.jump.forwards == jump.forwards)
      return action;
  }
  return NavigationActions[1];
}

bool RunMarkerJump(ui::TRAHLEditor& editor, MarkerJump jump) {
  return jump.forwards ? GotoNext(editor, jump.marker) : GotoPrev(editor, jump.marker);
}

bool GotoHistory(ui::TRAHLEditor& editor) {
  editor.ScrollTo(0, 0);
  editor.SetCaretRow(0);
  return GotoNext(editor, '|');
}

}  // namespace brontel
