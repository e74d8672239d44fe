/** @file TextViewWindow.h: the text view control in one window class, painted through GDI. */
#pragma once

#include <windows.h>

#include "shells/win32/NativeControl.h"
#include "shells/win32/NativePopupMenu.h"
#include "shells/win32/Win32Cursor.h"
#include "ui/TRAHLEditor.h"

namespace brontel::win32 {

// The window of a TRAHLEditor: paints through the control's shared paint routine on a
// double-buffered GDI canvas, keeps both scroll bars in step with the view, forwards keys,
// mouse and wheel to the control, shows its popup menu and a system caret.
//
// The window is placed at the layout's bounds; its scroll bars take room from that, so the
// model is told the remaining client area, which decides how many rows are visible.
class TextViewWindow final : public NativeControl {
 public:
  TextViewWindow(ui::TRAHLEditor& editor, Win32Cursor& cursor);

 protected:
  HWND CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) override;
  void Apply(ui::Change change) override;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  void UpdateScrollBars();
  void FitModelToClient();
  void PlaceCaret();
  void Scroll(int bar, WORD request);
  bool KeyDown(WPARAM key);
  ui::Point MousePoint(LPARAM lParam) const;

  ui::TRAHLEditor* editor_;
  Win32Cursor& cursor_;
  NativePopupMenu popup_;
  ui::Rect layoutBounds_;
  ui::Rect fittedBounds_;
  bool hasCaret_ = false;
};

}  // namespace brontel::win32
