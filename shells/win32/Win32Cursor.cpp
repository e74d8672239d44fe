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
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The host's own loop must see its quit request.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

}  // namespace brontel::win32
