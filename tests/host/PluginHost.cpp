#include "tests/host/PluginHost.h"

#include <dlfcn.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace brontel::host {

namespace {

template <typename Function>
Function EntryPoint(void* module, const char* name) {
  void* symbol = ::dlsym(module, name);
  if (symbol == nullptr)
    throw std::runtime_error(std::string("missing entry point ") + name);
  return reinterpret_cast<Function>(symbol);
}

}  // namespace

PluginHost::PluginHost(const std::string& modulePath)
    : module_(::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (module_ == nullptr)
    throw std::runtime_error(std::string("cannot load ") + modulePath + ": " + ::dlerror());
  setDefaultParams_ = EntryPoint<ListSetDefaultParamsFunction>(module_, kListSetDefaultParamsName);
  load_ = EntryPoint<ListLoadFunction>(module_, kListLoadName);
  closeWindow_ = EntryPoint<ListCloseWindowFunction>(module_, kListCloseWindowName);
  searchText_ = EntryPoint<ListSearchTextFunction>(module_, kListSearchTextName);
  drive_ = EntryPoint<DriveFn>(module_, "BrontelHeadlessDrive");
}

void PluginHost::Unload() {
  ::dlclose(module_);
  module_ = nullptr;
}

void PluginHost::ListSetDefaultParams(const std::string& hostSettingsFile) {
  // The record hosts send may be larger than the fields a plug-in knows.
  struct NewerRecord {
    ListerDefaultParams known;
    char newerFields[64];
  } record{MakeListerDefaultParams(hostSettingsFile), {}};
  record.known.size = static_cast<std::int32_t>(sizeof record);
  setDefaultParams_(&record);
}

void PluginHost::ListSetDefaultParams(const void* record) {
  setDefaultParams_(record);
}

void* PluginHost::ListLoad(void* parentWindow, const char* fileName, int showFlags) {
  return load_(parentWindow, fileName, showFlags);
}

void PluginHost::ListCloseWindow(void* listWindow) {
  closeWindow_(listWindow);
}

int PluginHost::ListSearchText(void* listWindow, const char* searchString, int searchFlags) {
  return searchText_(listWindow, searchString, searchFlags);
}

void PluginHost::RunMessageLoop(std::uint64_t milliseconds) {
  drive_(milliseconds, nullptr, nullptr);
}

ViewerSelection PluginHost::SelectionOf(void* listWindow) {
  std::int64_t values[3] = {-1, -1, -1};
  ViewerSelection selection;
  if (drive_(0, listWindow, values) == 0)
    selection = {values[0], values[1], values[2]};
  return selection;
}

PluginHost& TheHost() {
  static PluginHost host(BRONTEL_TEST_MODULE_PATH);
  return host;
}

}  // namespace brontel::host
