/** @file OffscreenApplication.h: the one QApplication of a widget test program, offscreen. */
#pragma once

#include <QApplication>

namespace brontel::app {

inline void EnsureOffscreenApplication() {
  if (QApplication::instance() != nullptr)
    return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "app_qt_tests";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
}

}  // namespace brontel::app
