#include "shells/win32/Win32HostWindow.h"

namespace brontel::win32 {

bool Win32HostWindow::HasParentWindow() const {
  return ::IsWindow(window_) && (::GetWindowLongPtrA(window_, GWL_STYLE) & WS_CHILD) != 0;
}

void Win32HostWindow::Deliver(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (::IsWindow(window_))
    ::SendMessageA(window_, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void Win32HostWindow::TakeFocus() {
  if (::IsWindow(window_))
    ::SetFocus(window_);
}

void Win32HostWindow::TypeKey(ui::KeyCode key) {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(key, 0));  // MAPVK_VK_TO_VSC
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace brontel::win32
