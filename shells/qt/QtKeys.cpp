#include "shells/qt/QtKeys.h"

#include <array>
#include <utility>

namespace brontel::qt {

namespace {

// Keys that are neither letters, digits nor function keys.
constexpr std::array<std::pair<int, ui::KeyCode>, 36> kNamedKeys{{
    {Qt::Key_Backspace, ui::vk::Back},
    {Qt::Key_Tab, ui::vk::Tab},
    {Qt::Key_Backtab, ui::vk::Tab},
    {Qt::Key_Return, ui::vk::Return},
    {Qt::Key_Enter, ui::vk::Return},
    {Qt::Key_Shift, ui::vk::Shift},
    {Qt::Key_Control, ui::vk::Control},
    {Qt::Key_Alt, ui::vk::Menu},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, ui::vk::Escape},
    {Qt::Key_Space, ui::vk::Space},
    {Qt::Key_PageUp, ui::vk::Prior},
    {Qt::Key_PageDown, ui::vk::Next},
    {Qt::Key_End, ui::vk::End},
    {Qt::Key_Home, ui::vk::Home},
    {Qt::Key_Left, ui::vk::Left},
    {Qt::Key_Up, ui::vk::Up},
    {Qt::Key_Right, ui::vk::Right},
    {Qt::Key_Down, ui::vk::Down},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, ui::vk::Insert},
    {Qt::Key_Delete, ui::vk::Delete},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
}};

constexpr ui::KeyCode kNumPad0 = 0x60;

}  // namespace

ui::KeyCode VirtualKeyOf(int qtKey, bool keypad) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    const int digit = qtKey - Qt::Key_0;
    return static_cast<ui::KeyCode>(keypad ? kNumPad0 + digit : '0' + digit);
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
    return static_cast<ui::KeyCode>('A' + (qtKey - Qt::Key_A));
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
    return static_cast<ui::KeyCode>(ui::vk::F1 + (qtKey - Qt::Key_F1));
  for (const auto& [qt, vk] : kNamedKeys) {
    if (qt == qtKey)
      return vk;
  }
  return 0;
}

int QtKeyOf(ui::KeyCode key) {
  if (key >= '0' && key <= '9')
    return Qt::Key_0 + (key - '0');
  if (key >= kNumPad0 && key <= kNumPad0 + 9)
    return Qt::Key_0 + (key - kNumPad0);
  if (key >= 'A' && key <= 'Z')
    return Qt::Key_A + (key - 'A');
  if (key >= ui::vk::F1 && key < ui::vk::F1 + 24)
    return Qt::Key_F1 + (key - ui::vk::F1);
  for (const auto& [qt, vk] : kNamedKeys) {
    if (vk == key && qt != Qt::Key_Backtab && qt != Qt::Key_Enter)
      return qt;
  }
  return Qt::Key_unknown;
}

ui::ShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  ui::ShiftState shift = ui::ShiftState::None;
  if (modifiers & Qt::ShiftModifier)
    shift = shift | ui::ShiftState::Shift;
  if (modifiers & Qt::AltModifier)
    shift = shift | ui::ShiftState::Alt;
  if (modifiers & Qt::ControlModifier)
    shift = shift | ui::ShiftState::Ctrl;
  if (buttons & Qt::LeftButton)
    shift = shift | ui::ShiftState::Left;
  if (buttons & Qt::RightButton)
    shift = shift | ui::ShiftState::Right;
  if (buttons & Qt::MiddleButton)
    shift = shift | ui::ShiftState::Middle;
  return shift;
}

Qt::KeyboardModifiers QtModifiersOf(ui::ShiftState shift) {
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
  if (ui::Has(shift, ui::ShiftState::Shift))
    modifiers |= Qt::ShiftModifier;
  if (ui::Has(shift, ui::ShiftState::Alt))
    modifiers |= Qt::AltModifier;
  if (ui::Has(shift, ui::ShiftState::Ctrl))
    modifiers |= Qt::ControlModifier;
  return modifiers;
}

}  // namespace brontel::qt
