/** @file Win32Cursor.h: the screen cursor on LoadCursor/SetCursor, with message processing. */
#pragma once

#include <windows.h>

#include "ui/ScreenCursor.h"

namespace brontel::win32 {

// The cursor the viewer asked for. Windows of the shell that set their own cursor
// (WM_SETCURSOR) ask Override first, so that the hourglass wins while it is up.
class Win32Cursor final : public ui::ScreenCursor {
 public:
  ui::Cursor Current() const override { return current_; }
  void Set(ui::Cursor cursor) override;
  // Lets the waiting paint messages of this thread through, so that a long operation starts
  // with its cursor and the windows up to date. Input, timer ticks and posted work stay queued:
  // run here, they could close or reload the very viewer that is in the middle of its load.
  void ProcessMessages() override;

  // The system cursor for `cursor`.
  static HCURSOR SystemCursor(ui::Cursor cursor);
  // The cursor that replaces a window's own one, or nullptr when the window keeps its own.
  HCURSOR Override() const;

 private:
  ui::Cursor current_ = ui::Cursor::Default;
};

}  // namespace brontel::win32
