// The plug-in module for Qt 5 hosts: the four entry points, with viewers in Qt widgets inside
// the QWidget the host passes as its window.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

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

// With BRONTEL_TRACE set, each entry point reports its call on standard error, so that a
// check of a host's integration can see what the host called; otherwise the module is silent.
bool Tracing() {
  static const bool tracing = std::getenv("BRONTEL_TRACE") != nullptr;
  return tracing;
}

void Trace(const char* call, const char* text, long long argument, long long result) {
  if (Tracing())
    std::fprintf(stderr, "brontel: %s(\"%s\", %lld) -> %lld\n", call, text ? text : "", argument,
                 result);
}

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
  brontel::qt::Trace("ListSetDefaultParams", "", 0, 0);
}

BRONTEL_EXPORT void* ListLoad(void* parentWindow, const char* fileToLoad, int showFlags) {
  try {
    const std::uintptr_t handle = brontel::qt::Plugin().ListLoad(
        reinterpret_cast<std::uintptr_t>(parentWindow), fileToLoad, showFlags);
    brontel::qt::Trace("ListLoad", fileToLoad, showFlags, handle != 0);
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
  brontel::qt::Trace("ListCloseWindow", "", 0, 0);
}

BRONTEL_EXPORT int ListSearchText(void* listWindow, const char* searchString, int searchParameter) {
  try {
    const int found = brontel::qt::Plugin().ListSearchText(
        reinterpret_cast<std::uintptr_t>(listWindow), searchString, searchParameter);
    brontel::qt::Trace("ListSearchText", searchString, searchParameter, found);
    return found;
  } catch (...) {
    return 1;
  }
}
