#include "apps/brontel/qt/QtKeys.h"

namespace brontel::app {

ui::KeyCode VirtualKeyOf(const QKeyEvent& key) {
  const int code = key.key();
  if (code == Qt::Key_Escape)
    return ui::vk::Escape;
  if (code >= Qt::Key_F1 && code <= Qt::Key_F12)
    return static_cast<ui::KeyCode>(ui::vk::F1 + (code - Qt::Key_F1));
  if ((code >= Qt::Key_A && code <= Qt::Key_Z) || (code >= Qt::Key_0 && code <= Qt::Key_9))
    return static_cast<ui::KeyCode>(code);  // Qt's codes are the ASCII upper-case letters
  return 0;
}

ui::ShiftState ShiftStateOf(const QKeyEvent& key) {
  const Qt::KeyboardModifiers mods = key.modifiers();
  ui::ShiftState state = ui::ShiftState::None;
  if (mods & Qt::ShiftModifier)
    state = state | ui::ShiftState::Shift;
  if (mods & Qt::ControlModifier)
    state = state | ui::ShiftState::Ctrl;
  if (mods & Qt::AltModifier)
    state = state | ui::ShiftState::Alt;
  return state;
}

}  // namespace brontel::app
