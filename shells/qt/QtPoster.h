/** @file QtPoster.h: work handed to the UI thread through Qt's event loop. */
#pragma once

#include <QObject>
#include <memory>

#include "ui/UiThreadPoster.h"

namespace brontel::qt {

// Posts work as queued calls to an object that lives on the thread that made the poster (the
// UI thread), so it runs in posting order when that thread's event loop next runs. Work that
// throws is stopped and recorded by the shield. Post may be called from any thread; work posted
// after the poster is gone, or without a Qt application, never runs.
class QtPoster final : public ui::UiThreadPoster {
 public:
  QtPoster();
  ~QtPoster() override;
  void Post(std::function<void()> work) override;

 private:
  std::unique_ptr<QObject> target_;
};

}  // namespace brontel::qt
