/** @file PluginHost.h: loads a built brontel.wlx the way a host does and calls its entry points. */
#pragma once

#include <cstdint>
#include <string>

#include "plugin/ListerContract.h"

namespace brontel::host {

// The caret offset, selection length and text length of one viewer.
struct ViewerSelection {
  std::int64_t start = -1;
  std::int64_t length = -1;
  std::int64_t textLength = -1;

  bool operator==(const ViewerSelection&) const = default;
};

// One loaded module, loaded until Unload is called (TheHost's never is). Throws
// std::runtime_error when the module or one of its entry points cannot be found.
class PluginHost {
 public:
  explicit PluginHost(const std::string& modulePath);

  // The host's default-parameters record with `hostSettingsFile` at its place; nullptr as
  // `record` passes a null pointer.
  void ListSetDefaultParams(const std::string& hostSettingsFile);
  void ListSetDefaultParams(const void* record);
  void* ListLoad(void* parentWindow, const char* fileName, int showFlags);
  void ListCloseWindow(void* listWindow);
  int ListSearchText(void* listWindow, const char* searchString, int searchFlags);

  // dlclose, as a host that unloads its plug-ins calls it; no other call may follow.
  void Unload();

  // What the host's message loop would do in `milliseconds`: posted work and timers.
  void RunMessageLoop(std::uint64_t milliseconds);
  // The viewer's selection, or nothing-found values (-1) when the handle is not registered.
  ViewerSelection SelectionOf(void* listWindow);

 private:
  using DriveFn = int (*)(std::uint64_t, void*, std::int64_t*);

  void* module_ = nullptr;
  ListSetDefaultParamsFunction setDefaultParams_ = nullptr;
  ListLoadFunction load_ = nullptr;
  ListCloseWindowFunction closeWindow_ = nullptr;
  ListSearchTextFunction searchText_ = nullptr;
  DriveFn drive_ = nullptr;
};

// The process's host on the module this build made.
PluginHost& TheHost();

}  // namespace brontel::host
