#include "shells/win32/Win32Cursor.h"

namespace brontel::win32 {

HCURSOR Win32Cursor::SystemCursor(ui::Cursor cursor) {
  switch (cursor) {
    case ui::Cursor::HourGlass:
      return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));  // IDC_WAIT
    case ui::Cursor::IBeam:
      return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32513));  // IDC_IBEAM
    case ui::Cursor::Default:
    case ui::Cursor::Arrow:
      break;
  }
  return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
}

void Win32Cursor::Set(ui::Cursor cursor) {
  current_ = cursor;
  ::SetCursor(SystemCursor(cursor));
}

HCURSOR Win32Cursor::Override() const {
  return current_ == ui::Cursor::Default ? nullptr : SystemCursor(current_);
}

void Win32Cursor::ProcessMessages() {
  MSG message;
  // WM_PAINT is never posted; Windows makes one up while a window has an invalid region, and
  // painting validates it, so this ends once every window is painted (bounded for safety).
  for (int painted = 0; painted < 1000 && ::PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT,
                                                         PM_REMOVE | PM_NOYIELD);
       ++painted)
    ::DispatchMessageA(&message);
}

}  // namespace brontel::win32
