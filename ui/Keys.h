/** @file Keys.h: virtual-key codes, shift states and shortcuts, with their Windows values. */
#pragma once

#include <cstdint>
#include <string>

namespace brontel::ui {

// Virtual-key codes keep their Windows values everywhere in the system. Letters and digits
// are their upper-case ASCII codes ('A', '0').
using KeyCode = std::uint16_t;

namespace vk {
inline constexpr KeyCode Back = 0x08;
inline constexpr KeyCode Tab = 0x09;
inline constexpr KeyCode Return = 0x0D;
inline constexpr KeyCode Shift = 0x10;
inline constexpr KeyCode Control = 0x11;
inline constexpr KeyCode Menu = 0x12;
inline constexpr KeyCode Escape = 0x1B;
inline constexpr KeyCode Space = 0x20;
inline constexpr KeyCode Prior = 0x21;  // Page Up
inline constexpr KeyCode Next = 0x22;   // Page Down
inline constexpr KeyCode End = 0x23;
inline constexpr KeyCode Home = 0x24;
inline constexpr KeyCode Left = 0x25;
inline constexpr KeyCode Up = 0x26;
inline constexpr KeyCode Right = 0x27;
inline constexpr KeyCode Down = 0x28;
inline constexpr KeyCode Insert = 0x2D;
inline constexpr KeyCode Delete = 0x2E;
inline constexpr KeyCode NumPad0 = 0x60;
inline constexpr KeyCode Divide = 0x6F;  // the last key of the number pad
inline constexpr KeyCode F1 = 0x70;
inline constexpr KeyCode F2 = 0x71;
inline constexpr KeyCode F3 = 0x72;
inline constexpr KeyCode F4 = 0x73;
inline constexpr KeyCode F5 = 0x74;
inline constexpr KeyCode F6 = 0x75;
inline constexpr KeyCode F7 = 0x76;
inline constexpr KeyCode F8 = 0x77;
inline constexpr KeyCode F9 = 0x78;
inline constexpr KeyCode F10 = 0x79;
inline constexpr KeyCode F11 = 0x7A;
inline constexpr KeyCode F12 = 0x7B;
inline constexpr KeyCode Oem1 = 0xBA;    // the first punctuation key (';' on US keyboards)
inline constexpr KeyCode Oem102 = 0xE2;  // the last one
}  // namespace vk

// Modifier keys and mouse buttons held during an input event (a set of flags).
enum class ShiftState : std::uint8_t {
  None = 0,
  Shift = 1,
  Alt = 2,
  Ctrl = 4,
  Left = 8,
  Right = 16,
  Middle = 32,
  Double = 64,
};

constexpr ShiftState operator|(ShiftState a, ShiftState b) {
  return static_cast<ShiftState>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr ShiftState operator&(ShiftState a, ShiftState b) {
  return static_cast<ShiftState>(static_cast<std::uint8_t>(a) & static_cast<std::uint8_t>(b));
}
constexpr bool Has(ShiftState set, ShiftState member) {
  return (set & member) != ShiftState::None;
}
// Only the keyboard modifiers (Shift, Alt, Ctrl) of `set`, for "exactly Ctrl" tests.
constexpr ShiftState Modifiers(ShiftState set) {
  return set & (ShiftState::Shift | ShiftState::Alt | ShiftState::Ctrl);
}

enum class MouseButton : std::uint8_t { Left, Right, Middle };

// A shortcut as the Windows class libraries encode it: key code in the low byte plus the
// modifier bits below; 0 means none.
using ShortCut = std::uint16_t;
inline constexpr ShortCut scShift = 0x2000;
inline constexpr ShortCut scCtrl = 0x4000;
inline constexpr ShortCut scAlt = 0x8000;

ShortCut MakeShortCut(KeyCode key, ShiftState shift);
KeyCode ShortCutKey(ShortCut shortCut);
ShiftState ShortCutShift(ShortCut shortCut);

// A key that a text field or a drop-down list uses itself, so the window's key bindings leave
// it alone: typing (letters, digits, number pad, punctuation, space, Backspace) without Ctrl or
// Alt, and moving and deleting in the text (arrows, Home, End, Delete) without Alt.
bool IsFieldKey(KeyCode key, ShiftState shift);

// "Ctrl+E", "Shift+Ctrl+E", "F3", "Esc"; empty for 0.
std::string ShortCutToText(ShortCut shortCut);

}  // namespace brontel::ui
