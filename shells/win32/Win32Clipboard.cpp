#include "shells/win32/Win32Clipboard.h"

#include <windows.h>

#include <cstring>

namespace brontel::win32 {
namespace {

bool OpenClipboardWithRetries() {
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (::OpenClipboard(nullptr))
      return true;
    ::Sleep(10);
  }
  return false;
}

}  // namespace

void Win32Clipboard::SetText(std::string_view text) {
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (memory == nullptr)
    return;
  auto* bytes = static_cast<char*>(::GlobalLock(memory));
  if (bytes == nullptr) {
    ::GlobalFree(memory);
    return;
  }
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  ::GlobalUnlock(memory);
  if (!OpenClipboardWithRetries()) {
    ::GlobalFree(memory);
    return;
  }
  ::EmptyClipboard();
  if (::SetClipboardData(CF_TEXT, memory) == nullptr)
    ::GlobalFree(memory);  // ownership passes to the system only on success
  ::CloseClipboard();
}

std::string Win32Clipboard::Text() const {
  if (!OpenClipboardWithRetries())
    return {};
  std::string text;
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(::GlobalLock(data))) {
      text.assign(bytes, ::strnlen(bytes, ::GlobalSize(data)));
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

}  // namespace brontel::win32
