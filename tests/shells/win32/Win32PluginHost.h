/** @file Win32PluginHost.h: loads brontel.wlx64 with LoadLibrary and calls its entry points. */
#pragma once

#include <windows.h>

#include <string>

namespace brontel::win32::testing {

// One loaded module, kept loaded for the whole process as hosts keep their plug-ins. Throws
// std::runtime_error when the module or one of its four entry points cannot be found.
class Win32PluginHost {
 public:
  explicit Win32PluginHost(const std::string& modulePath);

  // The default-parameters record with `hostSettingsFile` as the host's settings file.
  void ListSetDefaultParams(const std::string& hostSettingsFile);
  HWND ListLoad(HWND parent, const std::string& fileName, int showFlags);
  void ListCloseWindow(HWND listWindow);
  int ListSearchText(HWND listWindow, const char* searchString, int searchFlags);

  HMODULE module() const { return module_; }

 private:
  using SetDefaultParamsFn = void(__stdcall*)(void*);
  using LoadFn = HWND(__stdcall*)(HWND, char*, int);
  using CloseWindowFn = void(__stdcall*)(HWND);
  using SearchTextFn = int(__stdcall*)(HWND, char*, int);

  HMODULE module_ = nullptr;
  SetDefaultParamsFn setDefaultParams_ = nullptr;
  LoadFn load_ = nullptr;
  CloseWindowFn closeWindow_ = nullptr;
  SearchTextFn searchText_ = nullptr;
};

// The process's host on the module next to the test program.
Win32PluginHost& TheHost();

}  // namespace brontel::win32::testing
