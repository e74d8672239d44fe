#include "shells/qt/QtToolkit.h"

#include <QApplication>
#include <QWidget>

#include "shells/qt/QtHostWindow.h"

namespace brontel::qt {

void QtToolkit::Beep() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
    QApplication::beep();
}

std::unique_ptr<ui::HostWindow> QtToolkit::AttachHostWindow(std::uintptr_t nativeHandle) {
  return std::make_unique<QtHostWindow>(reinterpret_cast<QWidget*>(nativeHandle));
}

}  // namespace brontel::qt
