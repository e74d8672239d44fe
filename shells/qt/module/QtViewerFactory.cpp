#include "shells/qt/module/QtViewerFactory.h"

#include <QApplication>
#include <QThread>
#include <memory>
#include <stdexcept>

#include "shells/qt/module/QtViewer.h"

namespace brontel::qt {

TListWindowIntf& QtViewerFactory::CreateViewer(std::uintptr_t parentWindow,
                                               const std::string& fileName) {
  QCoreApplication* application = QCoreApplication::instance();
  if (qobject_cast<QApplication*>(application) == nullptr ||
      QThread::currentThread() != application->thread())
    throw std::runtime_error("no Qt Widgets application runs on this thread");
  auto viewer =
      std::make_unique<QtViewer>(toolkit_, reinterpret_cast<QWidget*>(parentWindow), fileName);
  viewer->FormCreate();
  viewer->SetVisible(true);
  viewer->FormShow();
  if (QtFormWindow* window = viewer->window())
    window->show();
  return *viewer.release();  // from here on the viewer's close frees it
}

void QtViewerFactory::CloseViewer(TListWindowIntf& viewer) {
  auto* qtViewer = dynamic_cast<QtViewer*>(&viewer);
  if (qtViewer == nullptr)
    throw std::invalid_argument("not a viewer of this factory");
  qtViewer->Close();
}

}  // namespace brontel::qt
