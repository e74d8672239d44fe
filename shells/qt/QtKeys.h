/** @file QtKeys.h: Qt keys, modifiers and mouse buttons as the system's Windows key values. */
#pragma once

#include <Qt>

#include "ui/Keys.h"

namespace brontel::qt {

// The virtual-key code of a Qt key (Qt::Key_E gives 'E', Qt::Key_F3 gives vk::F3); 0 for a
// key that has no Windows counterpart here. `keypad` tells the number pad's digits apart.
ui::KeyCode VirtualKeyOf(int qtKey, bool keypad = false);

// The Qt key of a virtual-key code (the reverse of VirtualKeyOf), Qt::Key_unknown when none.
int QtKeyOf(ui::KeyCode key);

// Shift state of keyboard modifiers and mouse buttons.
ui::ShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers,
                            Qt::MouseButtons buttons = Qt::NoButton);

// The Qt modifiers of a shift state's keyboard part.
Qt::KeyboardModifiers QtModifiersOf(ui::ShiftState shift);

}  // namespace brontel::qt
