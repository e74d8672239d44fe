#include "shells/qt/QtPoster.h"

#include <QMetaObject>

namespace brontel::qt {

QtPoster::QtPoster() : target_(std::make_unique<QObject>()) {}

QtPoster::~QtPoster() = default;

void QtPoster::Post(std::function<void()> work) {
  QMetaObject::invokeMethod(
      target_.get(),
      [work = std::move(work)]() {
        try {
          work();
        } catch (...) {
        }
      },
      Qt::QueuedConnection);
}

}  // namespace brontel::qt
