#include "viewer/NavigationCommands.h"

#include <algorithm>

#include "classify/LineClassifier.h"
#include "classify/MsgTypeLoader.h"
#include "viewer/LineFilter.h"
#include "viewer/MarkerSearch.h"

namespace brontel {

std::string NavigationHint(const NavigationAction& action) {
  return NavigationHint(action.caption, action.shortCut);
}

std::string NavigationHint(std::string_view caption, ui::ShortCut shortCut) {
  std::string keys = ui::ShortCutToText(shortCut);
  std::replace(keys.begin(), keys.end(), '+', '-');
  return std::string(caption) + " (" + keys + ")";
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

int JumpTypePosition(MarkerJump jump) {
  switch (jump.marker) {
    case 'W':
      return 1;
    case 'U':
      return 2;
    default:
      return 0;
  }
}

bool HasBuiltinCountedTypes(const LineClassifier& types) {
  const std::vector<MsgTypeMatcherInfo>& loaded = types.Types();
  const std::vector<MsgTypeMatcherInfo> builtin = BuiltinMsgTypes();
  if (loaded.size() < kCountedMsgTypes)
    return false;
  for (std::size_t i = 0; i < kCountedMsgTypes; ++i) {
    if (loaded[i].name != builtin[i].name || loaded[i].exprTexts != builtin[i].exprTexts)
      return false;
  }
  return true;
}

std::string JumpCaption(const NavigationAction& action, const LineClassifier& types) {
  const std::vector<MsgTypeMatcherInfo>& loaded = types.Types();
  const auto position = static_cast<std::size_t>(JumpTypePosition(action.jump));
  if (HasBuiltinCountedTypes(types) || position >= loaded.size() || loaded[position].name.empty())
    return action.caption;
  return std::string(action.jump.forwards ? "Goto next " : "Goto previous ") +
         LowerAscii(loaded[position].name);
}

bool RunTypeJump(ui::TRAHLEditor& editor, LineClassifier& types, MarkerJump jump) {
  types.LoadMsgTypes();
  if (HasBuiltinCountedTypes(types))
    return RunMarkerJump(editor, jump);
  const int wanted = JumpTypePosition(jump);
  const LineTest isWanted = [&](std::string_view line) {
    return types.FindMsgType(line) == wanted;
  };
  return jump.forwards ? GotoNextLine(editor, isWanted) : GotoPrevLine(editor, isWanted);
}

bool GotoHistory(ui::TRAHLEditor& editor) {
  editor.ScrollTo(0, 0);
  editor.SetCaretRow(0);
  return GotoNext(editor, '|');
}

}  // namespace brontel
