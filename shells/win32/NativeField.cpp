#include "shells/win32/NativeField.h"

#include <string>

#include "shells/win32/ModuleInstance.h"

namespace brontel::win32 {
namespace {

// Room for the open list below a drop-down list's field.
constexpr int kDropDownHeight = 160;

HWND CreateChild(const char* className, DWORD exStyle, DWORD style, HWND parent,
                 const RECT& bounds) {
  return ::CreateWindowExA(exStyle, className, "", style, bounds.left, bounds.top,
                           bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                           ModuleInstance(), nullptr);
}

}  // namespace

HWND NativeLabel::CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) {
  const DWORD look = SS_LEFT | (label_->CenteredVertically() ? SS_CENTERIMAGE : 0);
  return CreateChild("STATIC", 0, childStyle | look, parent, bounds);
}

HWND NativeEdit::CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) {
  return CreateChild("EDIT", WS_EX_CLIENTEDGE, childStyle | WS_TABSTOP | ES_AUTOHSCROLL, parent,
                     bounds);
}

void NativeEdit::Apply(ui::Change change) {
  if (change == ui::Change::Caption)
    return;  // an edit field shows its text, not a caption
  NativeControl::Apply(change);
  if ((change == ui::Change::Text || change == ui::Change::Visible) && Model() != nullptr) {
    char shown[1024] = {};
    ::GetWindowTextA(Window(), shown, sizeof shown);
    if (edit_->Text() != shown) {
      SyncScope scope(*this);
      ::SetWindowTextA(Window(), edit_->Text().c_str());
    }
  }
}

void NativeEdit::Command(WORD code) {
  if (code != EN_CHANGE || syncing() || Model() == nullptr)
    return;
  const int length = ::GetWindowTextLengthA(Window());
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextA(Window(), text.data(), length + 1)));
  SyncScope scope(*this);
  edit_->SetText(text);
}

HWND NativeComboBox::CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) {
  HWND window = CreateChild("COMBOBOX", 0, childStyle | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                            parent, bounds);
  return window;
}

RECT NativeComboBox::NativeBounds(const ui::Rect& bounds) const {
  return RECT{bounds.left, bounds.top, bounds.right, bounds.top + kDropDownHeight};
}

void NativeComboBox::FillItems() {
  ::SendMessageA(Window(), CB_RESETCONTENT, 0, 0);
  for (const std::string& item : box_->Items())
    ::SendMessageA(Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void NativeComboBox::Apply(ui::Change change) {
  if (change == ui::Change::Caption)
    return;
  NativeControl::Apply(change);
  if (Model() == nullptr)
    return;
  if (change == ui::Change::Items || change == ui::Change::Visible) {
    if (change == ui::Change::Items ||
        ::SendMessageA(Window(), CB_GETCOUNT, 0, 0) != static_cast<LRESULT>(box_->Items().size()))
      FillItems();
    ::SendMessageA(Window(), CB_SETCURSEL, static_cast<WPARAM>(box_->ItemIndex()), 0);
  } else if (change == ui::Change::ItemIndex) {
    ::SendMessageA(Window(), CB_SETCURSEL, static_cast<WPARAM>(box_->ItemIndex()), 0);
  }
}

void NativeComboBox::Command(WORD code) {
  if (code != CBN_SELCHANGE || syncing() || Model() == nullptr)
    return;
  const auto index = static_cast<int>(::SendMessageA(Window(), CB_GETCURSEL, 0, 0));
  box_->UserSelect(index);
  if (Model() != nullptr && Window() != nullptr)
    ::SendMessageA(Window(), CB_SETCURSEL, static_cast<WPARAM>(box_->ItemIndex()), 0);
}

}  // namespace brontel::win32
