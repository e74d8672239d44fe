/** @file OffscreenApplication.h: the one QApplication of a widget test program, offscreen. */
#pragma once

#include <QApplication>

namespace brontel::app {

// Never destroyed: Qt's offscreen platform does not free everything when the application goes
// at process exit, so the test program keeps it to the very end.
inline void EnsureOffscreenApplication() {
  if (QApplication::instance() != nullptr)
    return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "app_qt_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* const application = new QApplication(argc, argv);
  (void)application;
}

}  // namespace brontel::app
