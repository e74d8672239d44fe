/** @file Win32PluginHost.h: loads brontel.wlx64 with LoadLibrary and calls its entry points. */
#pragma once

#include <windows.h>

#include <string>

#include "plugin/ListerContract.h"

namespace brontel::win32::testing {

// One loaded module, kept loaded unless Unload is called. Throws
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
  // FreeLibrary, as a host that unloads its plug-ins calls it; no entry point may be called after.
  void Unload();

 private:
  HMODULE module_ = nullptr;
  ListSetDefaultParamsFunction setDefaultParams_ = nullptr;
  ListLoadFunction load_ = nullptr;
  ListCloseWindowFunction closeWindow_ = nullptr;
  ListSearchTextFunction searchText_ = nullptr;
};

// The process's host on the module next to the test program.
Win32PluginHost& TheHost();

}  // namespace brontel::win32::testing
