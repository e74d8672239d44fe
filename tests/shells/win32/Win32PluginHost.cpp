#include "tests/shells/win32/Win32PluginHost.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace brontel::win32::testing {
namespace {

template <typename Function>
Function EntryPoint(HMODULE module, const char* name) {
  FARPROC address = ::GetProcAddress(module, name);
  if (address == nullptr)
    throw std::runtime_error(std::string("the module does not export ") + name);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path);
  return directory.substr(0, directory.find_last_of("\\/") + 1);
}

}  // namespace

Win32PluginHost::Win32PluginHost(const std::string& modulePath) {
  module_ = ::LoadLibraryA(modulePath.c_str());
  if (module_ == nullptr)
    throw std::runtime_error("cannot load " + modulePath);
  setDefaultParams_ = EntryPoint<ListSetDefaultParamsFunction>(module_, kListSetDefaultParamsName);
  load_ = EntryPoint<ListLoadFunction>(module_, kListLoadName);
  closeWindow_ = EntryPoint<ListCloseWindowFunction>(module_, kListCloseWindowName);
  searchText_ = EntryPoint<ListSearchTextFunction>(module_, kListSearchTextName);
}

void Win32PluginHost::Unload() {
  ::FreeLibrary(module_);
  module_ = nullptr;
}

void Win32PluginHost::ListSetDefaultParams(const std::string& hostSettingsFile) {
  const ListerDefaultParams record = MakeListerDefaultParams(hostSettingsFile);
  setDefaultParams_(&record);
}

HWND Win32PluginHost::ListLoad(HWND parent, const std::string& fileName, int showFlags) {
  return static_cast<HWND>(load_(parent, fileName.c_str(), showFlags));
}

void Win32PluginHost::ListCloseWindow(HWND listWindow) {
  closeWindow_(listWindow);
}

int Win32PluginHost::ListSearchText(HWND listWindow, const char* searchString, int searchFlags) {
  return searchText_(listWindow, searchString, searchFlags);
}

Win32PluginHost& TheHost() {
  static Win32PluginHost host(ProgramDirectory() + BRONTEL_TEST_MODULE_NAME);
  return host;
}

}  // namespace brontel::win32::testing
