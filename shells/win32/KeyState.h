/** @file KeyState.h: modifier and mouse-button states of Win32 input as the core's shift states. */
#pragma once

#include <windows.h>

#include "ui/Keys.h"

namespace brontel::win32 {

// Shift, Ctrl and Alt as the keyboard state of this thread holds them now (GetKeyState), which
// is the state at the time of the message being handled.
ui::ShiftState CurrentShiftState();
// The modifiers and buttons of a mouse message's wParam (MK_*), plus Alt from the key state.
ui::ShiftState MouseShiftState(WPARAM flags);

}  // namespace brontel::win32
