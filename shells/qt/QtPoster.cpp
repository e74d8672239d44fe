#include "shells/qt/QtPoster.h"

#include <QMetaObject>

#include "diagnostics/Shield.h"

namespace brontel::qt {

QtPoster::QtPoster() : target_(std::make_unique<QObject>()) {}

QtPoster::~QtPoster() = default;

void QtPoster::Post(std::function<void()> work) {
  QMetaObject::invokeMethod(
      target_.get(), [work = std::move(work)]() { Shield::Run("posted work", work); },
      Qt::QueuedConnection);
}

}  // namespace brontel::qt
