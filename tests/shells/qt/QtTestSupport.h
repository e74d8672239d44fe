/** @file QtTestSupport.h: the test application on the offscreen platform, and a Qt host. */
#pragma once

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QScrollArea>
#include <QWidget>
#include <vector>

namespace brontel::qt::testing {

// One QApplication per test process, always on the offscreen platform: the tests must not
// depend on whether an X server happens to be there.
inline QApplication& TestApplication() {
  static QApplication* const application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qt_shell_tests";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  return *application;
}

// A first member of a fixture, so that the application stands before any widget member.
struct ApplicationFirst {
  ApplicationFirst() { TestApplication(); }
};

struct ReceivedKey {
  QEvent::Type type;
  int key;
  QString text;
  bool spontaneous;
};

// A host as a Qt file manager builds one: a top-level viewer window holding a scroll area
// whose viewport is the window it passes to the plug-in. Records the key events that reach
// the scroll area.
class QtHost : public QObject {
 public:
  QtHost() : area(new QScrollArea(&window)) {
    window.resize(657, 595);
    area->setGeometry(0, 0, 657, 595);
    area->viewport()->installEventFilter(this);
    area->installEventFilter(this);
  }

  QWidget* parent() const { return area->viewport(); }
  void Show() {
    window.show();
    QApplication::setActiveWindow(&window);
  }
  std::vector<ReceivedKey> KeysAt(QEvent::Type type) const {
    std::vector<ReceivedKey> found;
    for (const ReceivedKey& key : keys) {
      if (key.type == type)
        found.push_back(key);
    }
    return found;
  }

  QWidget window;
  QScrollArea* area;
  std::vector<ReceivedKey> keys;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == area &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
      auto* key = static_cast<QKeyEvent*>(event);
      keys.push_back({event->type(), key->key(), key->text(), event->spontaneous()});
    }
    return false;
  }
};

}  // namespace brontel::qt::testing
