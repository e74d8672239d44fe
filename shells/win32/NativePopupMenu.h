/** @file NativePopupMenu.h: a popup menu model shown with TrackPopupMenu. */
#pragma once

#include <windows.h>

#include "shells/win32/NativeControl.h"
#include "ui/PopupMenu.h"

namespace brontel::win32 {

// Shows `menu` at `screenPoint` for `owner` and, when the user picks an item, runs its Click.
// Captions carry their shortcut text after a tab, check items their mark; separators and hidden
// items keep their places. Returns after the menu has closed.
void ShowPopupMenu(ui::PopupMenu& menu, HWND owner, POINT screenPoint);

// Shows a popup menu model for the control it belongs to whenever the model asks (Popup), at
// the model's point in the control's client area. A model that is destroyed first is let go.
class NativePopupMenu {
 public:
  // No menu (nullptr): nothing to show.
  NativePopupMenu(ui::PopupMenu* menu, const NativeControl& owner);
  ~NativePopupMenu();
  NativePopupMenu(const NativePopupMenu&) = delete;
  NativePopupMenu& operator=(const NativePopupMenu&) = delete;

 private:
  void Show();

  ui::PopupMenu* menu_;
  const NativeControl& owner_;
  ui::Component::ObserverId observer_ = 0;
};

}  // namespace brontel::win32
