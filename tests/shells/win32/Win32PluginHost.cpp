#include "tests/shells/win32/Win32PluginHost.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace brontel::win32::testing {
namespace {

// The host's default-parameters record as the interface lays it out.
struct DefaultParams {
  int size;
  DWORD interfaceVersionLow;
  DWORD interfaceVersionHigh;
  char defaultIniName[MAX_PATH];
};

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
  setDefaultParams_ = EntryPoint<SetDefaultParamsFn>(module_, "ListSetDefaultParams");
  load_ = EntryPoint<LoadFn>(module_, "ListLoad");
  closeWindow_ = EntryPoint<CloseWindowFn>(module_, "ListCloseWindow");
  searchText_ = EntryPoint<SearchTextFn>(module_, "ListSearchText");
}

void Win32PluginHost::ListSetDefaultParams(const std::string& hostSettingsFile) {
  DefaultParams record{};
  record.size = sizeof record;
  record.interfaceVersionLow = 20;
  record.interfaceVersionHigh = 2;
  std::strncpy(record.defaultIniName, hostSettingsFile.c_str(), MAX_PATH - 1);
  setDefaultParams_(&record);
}

HWND Win32PluginHost::ListLoad(HWND parent, const std::string& fileName, int showFlags) {
  std::vector<char> name(fileName.begin(), fileName.end());
  name.push_back('\0');
  return load_(parent, name.data(), showFlags);
}

void Win32PluginHost::ListCloseWindow(HWND listWindow) {
  closeWindow_(listWindow);
}

int Win32PluginHost::ListSearchText(HWND listWindow, const char* searchString, int searchFlags) {
  return searchText_(listWindow, const_cast<char*>(searchString), searchFlags);
}

Win32PluginHost& TheHost() {
  static Win32PluginHost host(ProgramDirectory() + BRONTEL_TEST_MODULE_NAME);
  return host;
}

}  // namespace brontel::win32::testing
