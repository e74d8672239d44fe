/** @file NavigationCommands.h: the commands that move the caret between marked lines. */
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ui/Keys.h"
#include "ui/TRAHLEditor.h"

namespace brontel {

class LineClassifier;

// One of the six marker jumps: to the next or previous line of a kind.
struct MarkerJump {
  char marker;    // "E", "W" or "U" (see GotoNext)
  bool forwards;  // GotoNext when true, GotoPrev otherwise
};

// A navigation action as the action list and the context menu show it.
struct NavigationAction {
  const char* actionName;    // the action's layout name
  const char* menuItemName;  // the context-menu item that runs it
  const char* caption;
  ui::ShortCut shortCut;
  MarkerJump jump;  // unused by actGotoHistory
};

inline constexpr ui::ShortCut kCtrl = ui::scCtrl;
inline constexpr ui::ShortCut kShiftCtrl = ui::scShift | ui::scCtrl;

// The seven actions in context-menu order; the first is "Goto History".
inline constexpr std::array<NavigationAction, 7> NavigationActions{{
    {"actGotoHistory", "GotoHistory1", "Goto History", kCtrl | 'H', {'|', true}},
    {"actGotoPrevError",
     "Gotopreviouserror1",
     "Goto previous error",
     kShiftCtrl | 'E',
     {'E', false}},
    {"actGotoNextError", "Gotonexterror1", "Goto next error", kCtrl | 'E', {'E', true}},
    {"actGotoPrevWarning",
     "Gotopreviouswarning1",
     "Goto previous warning",
     kShiftCtrl | 'W',
     {'W', false}},
    {"actGotoNextWarning", "Gotonextwarning1", "Goto next warning", kCtrl | 'W', {'W', true}},
    {"actGotoPrevUrgent",
     "Gotopreviousurgent1",
     "Goto previous urgent",
     kShiftCtrl | 'U',
     {'U', false}},
    {"actGotoNextUrgent", "Gotonexturgent1", "Goto next urgent", kCtrl | 'U', {'U', true}},
}};

// The hint of a navigation button: the action's caption, a blank and its shortcut in
// parentheses, written with hyphens ("Goto next error (Ctrl-E)").
std::string NavigationHint(const NavigationAction& action);
std::string NavigationHint(std::string_view caption, ui::ShortCut shortCut);

// The action whose jump is `jump` (never actGotoHistory).
const NavigationAction& NavigationActionFor(MarkerJump jump);

// Runs the jump (GotoNext or GotoPrev; the caller holds the viewer's lock); true on a hit.
// Silent: the key path uses it as it is, the action and button paths beep on a miss.
bool RunMarkerJump(ui::TRAHLEditor& editor, MarkerJump jump);

// The counted type a jump stands for: "E" the first, "W" the second, "U" the third.
int JumpTypePosition(MarkerJump jump);
// Whether the first three types are the built-in Error, Warning and Urgent with their own
// expressions, whose lines begin with the jumps' markers.
bool HasBuiltinCountedTypes(const LineClassifier& types);
// The caption of a marker jump's action for the types in use: its own with the built-in types,
// else naming the counted type the jump stands for ("Goto next critical").
std::string JumpCaption(const NavigationAction& action, const LineClassifier& types);
// The jump as the types want it: RunMarkerJump with the built-in types; otherwise to the next
// or previous displayed line of the counted type the jump stands for. True on a hit.
bool RunTypeJump(ui::TRAHLEditor& editor, LineClassifier& types, MarkerJump jump);

// The view's part of "Goto History": view to the top-left corner and caret on row 0, then the
// next "|" marker line after row 0, which ends the history block. True when one was found.
// Silent, as above; the window stops following the end itself.
bool GotoHistory(ui::TRAHLEditor& editor);

}  // namespace brontel
