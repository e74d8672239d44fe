#include "shells/qt/QtKeys.h"

#include <gtest/gtest.h>

namespace brontel::qt {
namespace {

using ui::ShiftState;

TEST(QtKeysTest, KeysOfTheKeyTableGetTheirWindowsCodes) {
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Escape), ui::vk::Escape);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_F3), ui::vk::F3);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_F7), 0x76);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Q), 'Q');
  EXPECT_EQ(VirtualKeyOf(Qt::Key_3), '3');
  EXPECT_EQ(VirtualKeyOf(Qt::Key_3, true), 0x63);  // the number pad's 3 is another key
  EXPECT_EQ(VirtualKeyOf(Qt::Key_PageDown), ui::vk::Next);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Enter), ui::vk::Return);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Backtab), ui::vk::Tab);
  // Shift+3 arrives from Qt as the symbol it types; it is no digit key.
  EXPECT_EQ(VirtualKeyOf(Qt::Key_NumberSign), 0);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_unknown), 0);
}

TEST(QtKeysTest, HandedBackCodesTurnIntoTheSameQtKeys) {
  for (ui::KeyCode key : {ui::vk::Escape, ui::vk::F3, ui::vk::F5, ui::vk::F7, ui::KeyCode{'Q'},
                          ui::KeyCode{'F'}, ui::KeyCode{'N'}, ui::KeyCode{'P'}, ui::KeyCode{'0'},
                          ui::KeyCode{'9'}, ui::vk::Return, ui::vk::Tab, ui::vk::Down})
    EXPECT_EQ(VirtualKeyOf(QtKeyOf(key)), key) << key;
  EXPECT_EQ(QtKeyOf(0xFF), Qt::Key_unknown);
}

TEST(QtKeysTest, ModifiersAndButtonsMakeTheShiftState) {
  EXPECT_EQ(ShiftStateOf(Qt::NoModifier), ShiftState::None);
  EXPECT_EQ(ShiftStateOf(Qt::ControlModifier | Qt::ShiftModifier),
            ShiftState::Ctrl | ShiftState::Shift);
  // The number pad's flag is no modifier of the key table.
  EXPECT_EQ(ShiftStateOf(Qt::KeypadModifier), ShiftState::None);
  EXPECT_EQ(ShiftStateOf(Qt::AltModifier, Qt::LeftButton | Qt::RightButton),
            ShiftState::Alt | ShiftState::Left | ShiftState::Right);
  EXPECT_EQ(QtModifiersOf(ShiftState::Ctrl | ShiftState::Left), Qt::ControlModifier);
}

}  // namespace
}  // namespace brontel::qt
