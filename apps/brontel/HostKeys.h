/** @file HostKeys.h: what this program does with the keys a viewer hands back to its host. */
#pragma once

#include "ui/Keys.h"

namespace brontel::app {

enum class HostCommand {
  None,          // not a key of the host: the event goes on as usual
  CloseWindow,   // Esc
  OpenFind,      // F7
  FindNext,      // F3: the last search again, in its direction
  FindReverse,   // Shift+F3: the last search again, the other way
  NextFile,      // N
  PreviousFile,  // P
  Swallow,       // digits, which a viewer hands on but this host has no use for
};

// The command for a key that reached the host window (virtual-key code, held modifiers).
HostCommand CommandForKey(ui::KeyCode key, ui::ShiftState shift);

}  // namespace brontel::app
