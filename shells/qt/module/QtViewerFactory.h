/** @file QtViewerFactory.h: the viewer factory of the Qt module. */
#pragma once

#include <cstdint>
#include <string>

#include "plugin/ViewerFactory.h"
#include "shells/qt/QtToolkit.h"

namespace brontel::qt {

// Makes QtViewer windows inside the host's QWidget: construction, FormCreate, visible,
// FormShow, then the window shown. Without a running QApplication on the calling thread no
// viewer can be made and CreateViewer throws. Closing runs the viewer's close, which frees it
// when the event loop next runs. The toolkit outlives the factory. UI thread only.
class QtViewerFactory final : public ViewerFactory {
 public:
  explicit QtViewerFactory(QtToolkit& toolkit) : toolkit_(toolkit) {}

  TListWindowIntf& CreateViewer(std::uintptr_t parentWindow, const std::string& fileName) override;
  void CloseViewer(TListWindowIntf& viewer) override;

 private:
  QtToolkit& toolkit_;
};

}  // namespace brontel::qt
