#include "shells/win32/ModuleInstance.h"

#include <stdexcept>
#include <string>

namespace brontel::win32 {

HINSTANCE ModuleInstance() {
  static const HINSTANCE instance = [] {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&ModuleInstance), &module);
    return static_cast<HINSTANCE>(module);
  }();
  return instance;
}

void RegisterWindowClass(const char* className, WNDPROC procedure, HCURSOR cursor,
                         HBRUSH background) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExA(ModuleInstance(), className, &existing))
    return;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = ModuleInstance();
  windowClass.hCursor = cursor;
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = className;
  if (::RegisterClassExA(&windowClass) == 0)
    throw std::runtime_error(std::string("cannot register window class ") + className);
}

}  // namespace brontel::win32
