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
// Whether a key of an edit field types text there (letters, digits, punctuation, no Ctrl or
// Alt), so the window's key bindings leave it to the field.
bool TypesIntoField(ui::KeyCode key, ui::ShiftState shift);

}  // namespace brontel::win32
