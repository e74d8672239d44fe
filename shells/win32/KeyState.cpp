#include "shells/win32/KeyState.h"

namespace brontel::win32 {
namespace {

bool IsDown(int virtualKey) {
  return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

}  // namespace

ui::ShiftState CurrentShiftState() {
  ui::ShiftState state = ui::ShiftState::None;
  if (IsDown(VK_SHIFT))
    state = state | ui::ShiftState::Shift;
  if (IsDown(VK_CONTROL))
    state = state | ui::ShiftState::Ctrl;
  if (IsDown(VK_MENU))
    state = state | ui::ShiftState::Alt;
  return state;
}

ui::ShiftState MouseShiftState(WPARAM flags) {
  ui::ShiftState state = ui::ShiftState::None;
  if (flags & MK_SHIFT)
    state = state | ui::ShiftState::Shift;
  if (flags & MK_CONTROL)
    state = state | ui::ShiftState::Ctrl;
  if (IsDown(VK_MENU))
    state = state | ui::ShiftState::Alt;
  if (flags & MK_LBUTTON)
    state = state | ui::ShiftState::Left;
  if (flags & MK_RBUTTON)
    state = state | ui::ShiftState::Right;
  if (flags & MK_MBUTTON)
    state = state | ui::ShiftState::Middle;
  return state;
}

}  // namespace brontel::win32
