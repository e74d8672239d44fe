// The plug-in module for Qt 5 hosts: the four entry points, with viewers in Qt widgets inside
// the QWidget the host passes as its window.

#include <cstdint>

#include "plugin/ListerPlugin.h"
#include "settings/ExtMgr.h"
#include "shells/qt/QtToolkit.h"
#include "shells/qt/module/QtViewerFactory.h"

namespace brontel::qt {
namespace {

// Made on the first viewer's UI thread and never destroyed: the host never unloads the module,
// and viewers left open point at the toolkit to the end.
QtToolkit& ModuleToolkit() {
  static QtToolkit* const toolkit = new QtToolkit();
  return *toolkit;
}

class LazyFactory final : public ViewerFactory {
 public:
  TListWindowIntf& CreateViewer(std::uintptr_t parentWindow, const std::string& fileName) override {
    QtViewerFactory factory(ModuleToolkit());
    return factory.CreateViewer(parentWindow, fileName);
  }
  void CloseViewer(TListWindowIntf& viewer) override {
    QtViewerFactory factory(ModuleToolkit());
    factory.CloseViewer(viewer);
  }
};

ListerPlugin& Plugin() {
  static LazyFactory factory;
  static ListerPlugin plugin(factory, []() -> ExtManager& { return GetExtMgr(); });
  return plugin;
}

}  // namespace
}  // namespace brontel::qt

#define BRONTEL_EXPORT extern "C" __attribute__((visibility("default")))

BRONTEL_EXPORT void ListSetDefaultParams(const void* defaultParams) {
  try {
    brontel::qt::Plugin().ListSetDefaultParams(defaultParams);
  } catch (...) {
  }
}

BRONTEL_EXPORT void* ListLoad(void* parentWindow, const char* fileToLoad, int showFlags) {
  try {
    const std::uintptr_t handle = brontel::qt::Plugin().ListLoad(
        reinterpret_cast<std::uintptr_t>(parentWindow), fileToLoad, showFlags);
    return reinterpret_cast<void*>(handle);
  } catch (...) {
    return nullptr;
  }
}

BRONTEL_EXPORT void ListCloseWindow(void* listWindow) {
  try {
    brontel::qt::Plugin().ListCloseWindow(reinterpret_cast<std::uintptr_t>(listWindow));
  } catch (...) {
  }
}

BRONTEL_EXPORT int ListSearchText(void* listWindow, const char* searchString, int searchParameter) {
  try {
    return brontel::qt::Plugin().ListSearchText(reinterpret_cast<std::uintptr_t>(listWindow),
                                                searchString, searchParameter);
  } catch (...) {
    return 1;
  }
}
