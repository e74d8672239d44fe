#include "tests/shells/win32/HostFixture.h"

namespace brontel::win32::testing {

std::string ClipboardText() {
  if (!::OpenClipboard(nullptr))
    return {};
  std::string text;
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(::GlobalLock(data))) {
      text = bytes;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

void HostFixture::SetUp() {
  host_ = new RecordingHost();
}

void HostFixture::TearDown() {
  for (const Opened& opened : opened_)
    plugin_.ListCloseWindow(opened.viewer);
  opened_.clear();
  RecordingHost::Pump(50);
  delete host_;
  host_ = nullptr;
}

std::string HostFixture::UseSettingsFolder() {
  plugin_.ListSetDefaultParams(PathOf("wincmd.ini"));
  return PathOf("brontel.ini");
}

HWND HostFixture::Load(const std::string& file, int flags, RecordingHost* host) {
  RecordingHost& target = host != nullptr ? *host : *host_;
  HWND viewer = plugin_.ListLoad(target.window(), file, flags);
  if (viewer != nullptr) {
    opened_.push_back(Opened{viewer, &target});
    target.Adopt(viewer);
  }
  return viewer;
}

void HostFixture::Close(HWND viewer) {
  plugin_.ListCloseWindow(viewer);
  std::erase_if(opened_, [viewer](const Opened& opened) { return opened.viewer == viewer; });
  host_->Forget(viewer);
  RecordingHost::Pump(50);
}

HWND HostFixture::LoadAndShow(const std::string& file) {
  HWND viewer = Load(file);
  RecordingHost::Pump(300);
  return viewer;
}

HWND HostFixture::TextViewOf(HWND viewer) {
  return ::FindWindowExA(viewer, nullptr, "BrontelTextView", nullptr);
}

void HostFixture::PressKey(HWND window, WORD key, bool ctrl, bool shift) {
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  state[VK_CONTROL] = ctrl ? 0x80 : 0;
  state[VK_SHIFT] = shift ? 0x80 : 0;
  state[VK_MENU] = 0;
  ::SetKeyboardState(state);
  ::SendMessageA(window, WM_KEYDOWN, key, 1);
  ::SendMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  state[VK_CONTROL] = 0;
  state[VK_SHIFT] = 0;
  ::SetKeyboardState(state);
}

std::string HostFixture::SelectionOf(HWND viewer) {
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    ::CloseClipboard();
  }
  PressKey(TextViewOf(viewer), 'C', true);
  return ClipboardText();
}

}  // namespace brontel::win32::testing
