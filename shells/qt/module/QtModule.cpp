// The plug-in module for Qt 5 hosts: its viewers, in Qt widgets inside the QWidget the host
// passes as its window, for the shared entry points.

#include <cstdint>
#include <string>

#include "plugin/module/ModuleEntryPoints.h"
#include "settings/ExtMgr.h"
#include "shells/qt/QtToolkit.h"
#include "shells/qt/module/QtViewerFactory.h"

namespace brontel {
namespace qt {
namespace {

// Made on the first viewer's UI thread and never destroyed: the module stays loaded, and
// viewers left open point at the toolkit to the end.
QtToolkit& ModuleToolkit() {
  static QtToolkit* const toolkit = new QtToolkit();
  return *toolkit;
}

// The toolkit needs the host's QApplication, which need not exist yet when the host first
// calls ListSetDefaultParams: it is made with the first viewer.
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

}  // namespace
}  // namespace qt

ListerPlugin& ModulePlugin() {
  static qt::LazyFactory factory;
  static ListerPlugin plugin(factory, []() -> ExtManager& { return GetExtMgr(); });
  return plugin;
}

}  // namespace brontel
