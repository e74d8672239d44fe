/** @file Win32HostWindow.h: the host's HWND as the viewer hands keys back to it. */
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/HostWindow.h"

namespace brontel::win32 {

// The window the host passed to ListLoad. Messages are sent (SendMessage), so the host has
// handled them when the call returns. A host window that is gone makes every call a no-op.
class Win32HostWindow final : public ui::HostWindow {
 public:
  explicit Win32HostWindow(HWND window) : window_(window) {}

  std::uintptr_t NativeHandle() const override { return reinterpret_cast<std::uintptr_t>(window_); }
  // A host window with the child style lives inside another window (a quick view panel); one
  // without it is a top-level window, which Esc may close.
  bool HasParentWindow() const override;
  void Deliver(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void TakeFocus() override;
  // A key press and release through the system's input queue, as if typed.
  void TypeKey(ui::KeyCode key) override;

 private:
  HWND window_;
};

}  // namespace brontel::win32
