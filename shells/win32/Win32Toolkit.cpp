#include "shells/win32/Win32Toolkit.h"

#include <windows.h>

#include "shells/win32/Win32HostWindow.h"

namespace brontel::win32 {

void Win32Toolkit::Beep() {
  ::MessageBeep(0xFFFFFFFF);
}

std::unique_ptr<ui::HostWindow> Win32Toolkit::AttachHostWindow(std::uintptr_t nativeHandle) {
  return std::make_unique<Win32HostWindow>(reinterpret_cast<HWND>(nativeHandle));
}

}  // namespace brontel::win32
