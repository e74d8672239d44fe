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
  setDefaultParams_ = EntryPoint<SetDefaultParamsFn>(module_, "ListSetDefaultParams");
  load_ = EntryPoint<LoadFn>(module_, "ListLoad");
  closeWindow_ = EntryPoint<CloseWindowFn>(module_, "ListCloseWindow");
  searchText_ = EntryPoint<SearchTextFn>(module_, "ListSearchText");
  drive_ = EntryPoint<DriveFn>(module_, "BrontelHeadlessDrive");
}

void PluginHost::ListSetDefaultParams(const std::string& hostSettingsFile) {
  // size, interface version low and high, then the name in a MAX_PATH buffer; the record hosts
  // send may be larger than the fields a plug-in knows.
  std::vector<char> record(12 + 260 + 64, '\0');
  const std::int32_t size = static_cast<std::int32_t>(record.size());
  std::memcpy(record.data(), &size, sizeof size);
  record[4] = 2;
  record[8] = 10;
  std::memcpy(record.data() + 12, hostSettingsFile.data(),
              std::min<std::size_t>(hostSettingsFile.size(), 259));
  setDefaultParams_(record.data());
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
