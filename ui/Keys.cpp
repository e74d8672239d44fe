#include "ui/Keys.h"

namespace brontel::ui {

ShortCut MakeShortCut(KeyCode key, ShiftState shift) {
  if (key == 0 || key > 0xFF)
    return 0;
  ShortCut result = key;
  if (Has(shift, ShiftState::Shift))
    result |= scShift;
  if (Has(shift, ShiftState::Ctrl))
    result |= scCtrl;
  if (Has(shift, ShiftState::Alt))
    result |= scAlt;
  return result;
}

bool IsFieldKey(KeyCode key, ShiftState shift) {
  if (Has(shift, ShiftState::Alt))
    return false;
  const bool moves = key == vk::Left || key == vk::Right || key == vk::Up || key == vk::Down ||
                     key == vk::Home || key == vk::End || key == vk::Delete;
  if (moves)
    return true;
  if (Has(shift, ShiftState::Ctrl))
    return false;
  const bool letterOrDigit = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
  const bool numberPad = key >= vk::NumPad0 && key <= vk::Divide;
  const bool punctuation = key >= vk::Oem1 && key <= vk::Oem102;
  return letterOrDigit || numberPad || punctuation || key == vk::Space || key == vk::Back;
}

KeyCode ShortCutKey(ShortCut shortCut) {
  return shortCut & 0xFF;
}

ShiftState ShortCutShift(ShortCut shortCut) {
  ShiftState shift = ShiftState::None;
  if (shortCut & scShift)
    shift = shift | ShiftState::Shift;
  if (shortCut & scCtrl)
    shift = shift | ShiftState::Ctrl;
  if (shortCut & scAlt)
    shift = shift | ShiftState::Alt;
  return shift;
}

namespace {

// Appending (rather than "F" + std::to_string(...)) keeps g++ 12's -Wrestrict quiet at -O3.
std::string PrefixedNumber(char prefix, int number) {
  std::string text(1, prefix);
  text += std::to_string(number);
  return text;
}

std::string KeyName(KeyCode key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    return std::string(1, static_cast<char>(key));
  }
  if (key >= vk::F1 && key <= vk::F12)
    return PrefixedNumber('F', key - vk::F1 + 1);
  switch (key) {
    case vk::Back:
      return "BkSp";
    case vk::Tab:
      return "Tab";
    case vk::Return:
      return "Enter";
    case vk::Escape:
      return "Esc";
    case vk::Space:
      return "Space";
    case vk::Prior:
      return "PgUp";
    case vk::Next:
      return "PgDn";
    case vk::End:
      return "End";
    case vk::Home:
      return "Home";
    case vk::Left:
      return "Left";
    case vk::Up:
      return "Up";
    case vk::Right:
      return "Right";
    case vk::Down:
      return "Down";
    case vk::Insert:
      return "Ins";
    case vk::Delete:
      return "Del";
    default:
      return PrefixedNumber('#', key);
  }
}

}  // namespace

std::string ShortCutToText(ShortCut shortCut) {
  if (shortCut == 0)
    return std::string();
  std::string text;
  if (shortCut & scShift)
    text += "Shift+";
  if (shortCut & scCtrl)
    text += "Ctrl+";
  if (shortCut & scAlt)
    text += "Alt+";
  return text + KeyName(ShortCutKey(shortCut));
}

}  // namespace brontel::ui
