/** @file HostWindow.h: the host's window as the viewer sees it: messages, focus, typed keys. */
#pragma once

#include <cstdint>

#include "ui/Keys.h"

namespace brontel::ui {

// Window messages keep their Windows values.
namespace msg {
inline constexpr std::uint32_t Close = 0x0010;
inline constexpr std::uint32_t KeyDown = 0x0100;
inline constexpr std::uint32_t KeyUp = 0x0101;
inline constexpr std::uint32_t Char = 0x0102;
}  // namespace msg

// The window that the host handed to a viewer: the viewer hands keys back through it. Every
// call happens on the UI thread. The object outlives the viewer that uses it.
class HostWindow {
 public:
  virtual ~HostWindow() = default;

  // The native handle the host passed (HWND on Windows, the parent widget on Qt).
  virtual std::uintptr_t NativeHandle() const = 0;
  // True when the host window is itself a child of another window (not top-level).
  virtual bool HasParentWindow() const = 0;
  // Delivers a message to the host window (synchronously, as a send does).
  virtual void Deliver(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Gives the host window the keyboard focus.
  virtual void TakeFocus() = 0;
  // Synthesises a key press and a key release of `key`, so that the focused window receives
  // it as typed.
  virtual void TypeKey(KeyCode key) = 0;

  void SendClose(std::uintptr_t wParam, std::intptr_t lParam) {
    Deliver(msg::Close, wParam, lParam);
  }
  void SendKeyDown(KeyCode key, std::intptr_t lParam) { Deliver(msg::KeyDown, key, lParam); }
  void SendChar(char code, std::intptr_t lParam) {
    Deliver(msg::Char, static_cast<unsigned char>(code), lParam);
  }
};

}  // namespace brontel::ui
