/** @file NativePopupMenu.h: a popup menu model shown with TrackPopupMenu. */
#pragma once

#include <windows.h>

#include "ui/PopupMenu.h"

namespace brontel::win32 {

// Shows `menu` at `screenPoint` for `owner` and, when the user picks an item, runs its Click.
// Captions carry their shortcut text after a tab; separators and hidden items keep their
// places. Returns after the menu has closed.
void ShowPopupMenu(ui::PopupMenu& menu, HWND owner, POINT screenPoint);

}  // namespace brontel::win32
