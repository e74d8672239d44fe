#include "shells/win32/NativePopupMenu.h"

#include <string>

#include "ui/Keys.h"

namespace brontel::win32 {

void ShowPopupMenu(ui::PopupMenu& menu, HWND owner, POINT screenPoint) {
  HMENU native = ::CreatePopupMenu();
  if (native == nullptr)
    return;
  const auto& items = menu.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const ui::MenuItem& item = *items[i];
    if (!item.Visible())
      continue;
    const UINT id = static_cast<UINT>(i + 1);  // 0 means "nothing chosen"
    if (item.IsSeparator()) {
      ::AppendMenuA(native, MF_SEPARATOR, id, nullptr);
      continue;
    }
    std::string caption = item.Caption();
    if (const std::string shortCut = ui::ShortCutToText(item.GetShortCut()); !shortCut.empty())
      caption += "\t" + shortCut;
    const UINT state = (item.Enabled() ? 0 : MF_GRAYED) | (item.Checked() ? MF_CHECKED : 0);
    ::AppendMenuA(native, MF_STRING | state, id, caption.c_str());
  }
  const auto chosen =
      static_cast<UINT>(::TrackPopupMenu(native, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                         screenPoint.x, screenPoint.y, 0, owner, nullptr));
  ::DestroyMenu(native);
  if (chosen > 0 && chosen <= items.size())
    items[chosen - 1]->Click();
}

NativePopupMenu::NativePopupMenu(ui::PopupMenu* menu, const NativeControl& owner)
    : menu_(menu), owner_(owner) {
  if (menu_ == nullptr)
    return;
  observer_ = menu_->AddObserver([this](ui::Component&, ui::Change change) {
    if (change == ui::Change::Destroyed)
      menu_ = nullptr;
    else if (change == ui::Change::Popup && owner_.Window() != nullptr)
      Show();
  });
}

NativePopupMenu::~NativePopupMenu() {
  if (menu_ != nullptr)
    menu_->RemoveObserver(observer_);
}

void NativePopupMenu::Show() {
  const ui::Point at = menu_->PopupPoint();
  POINT screen{at.x, at.y};
  ::ClientToScreen(owner_.Window(), &screen);
  ShowPopupMenu(*menu_, owner_.Window(), screen);
}

}  // namespace brontel::win32
