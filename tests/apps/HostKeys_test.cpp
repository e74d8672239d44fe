#include "apps/brontel/HostKeys.h"

#include <gtest/gtest.h>

namespace brontel::app {
namespace {

using ui::ShiftState;

TEST(HostKeysTest, KeysTheHostActsOn) {
  EXPECT_EQ(CommandForKey(ui::vk::Escape, ShiftState::None), HostCommand::CloseWindow);
  EXPECT_EQ(CommandForKey(ui::vk::Escape, ShiftState::Shift), HostCommand::CloseWindow);
  EXPECT_EQ(CommandForKey(ui::vk::F7, ShiftState::None), HostCommand::OpenFind);
  EXPECT_EQ(CommandForKey(ui::vk::F3, ShiftState::None), HostCommand::FindNext);
  EXPECT_EQ(CommandForKey(ui::vk::F3, ShiftState::Shift), HostCommand::FindReverse);
  EXPECT_EQ(CommandForKey('N', ShiftState::None), HostCommand::NextFile);
  EXPECT_EQ(CommandForKey('P', ShiftState::None), HostCommand::PreviousFile);
}

TEST(HostKeysTest, DigitsAreSwallowedWhateverTheModifiers) {
  for (ui::KeyCode digit = '0'; digit <= '9'; ++digit) {
    EXPECT_EQ(CommandForKey(digit, ShiftState::None), HostCommand::Swallow);
    EXPECT_EQ(CommandForKey(digit, ShiftState::Shift), HostCommand::Swallow);
  }
}

TEST(HostKeysTest, ModifiedOrOtherKeysAreLeftAlone) {
  EXPECT_EQ(CommandForKey('N', ShiftState::Ctrl), HostCommand::None);
  EXPECT_EQ(CommandForKey('P', ShiftState::Shift), HostCommand::None);
  EXPECT_EQ(CommandForKey(ui::vk::F7, ShiftState::Alt), HostCommand::None);
  EXPECT_EQ(CommandForKey(ui::vk::F3, ShiftState::Ctrl), HostCommand::None);
  EXPECT_EQ(CommandForKey(ui::vk::F5, ShiftState::None), HostCommand::None);
  EXPECT_EQ(CommandForKey('Q', ShiftState::Ctrl), HostCommand::None);
  // Mouse buttons held do not count as modifiers.
  EXPECT_EQ(CommandForKey('N', ShiftState::Left), HostCommand::NextFile);
}

}  // namespace
}  // namespace brontel::app
