#include <windows.h>

#include "platform/PlatformError.h"

namespace brontel::platform {
namespace {

std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length > 0 && text != nullptr ? std::string(text, length)
                                                      : "system error " + std::to_string(code);
  if (text != nullptr)
    ::LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message;
}

}  // namespace

// Windows keeps the reason of a failed call in the thread's last-error value, not in errno.
PlatformError LastOsError(const std::string& path) {
  return PlatformError(path, SystemMessage(::GetLastError()));
}

}  // namespace brontel::platform
