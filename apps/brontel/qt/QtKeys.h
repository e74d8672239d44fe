/** @file QtKeys.h: Qt key events as the Windows key codes and shift states the system uses. */
#pragma once

#include <QKeyEvent>

#include "ui/Keys.h"

namespace brontel::app {

// The virtual-key code of the keys a host acts on (Esc, function keys, letters, digits); 0 for
// any other key.
ui::KeyCode VirtualKeyOf(const QKeyEvent& key);
ui::ShiftState ShiftStateOf(const QKeyEvent& key);

}  // namespace brontel::app
