#include "apps/brontel/HostKeys.h"

namespace brontel::app {

HostCommand CommandForKey(ui::KeyCode key, ui::ShiftState shift) {
  const ui::ShiftState mods = ui::Modifiers(shift);
  const bool plain = mods == ui::ShiftState::None;
  switch (key) {
    case ui::vk::Escape:
      return HostCommand::CloseWindow;
    case ui::vk::F7:
      return plain ? HostCommand::OpenFind : HostCommand::None;
    case ui::vk::F3:
      if (plain)
        return HostCommand::FindNext;
      return mods == ui::ShiftState::Shift ? HostCommand::FindReverse : HostCommand::None;
    case 'N':
      return plain ? HostCommand::NextFile : HostCommand::None;
    case 'P':
      return plain ? HostCommand::PreviousFile : HostCommand::None;
    default:
      break;
  }
  if (key >= '0' && key <= '9')
    return HostCommand::Swallow;
  return HostCommand::None;
}

}  // namespace brontel::app
