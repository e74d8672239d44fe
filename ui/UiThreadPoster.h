/** @file UiThreadPoster.h: handing work from any thread to the UI thread. */
#pragma once

#include <functional>

namespace brontel::ui {

// Runs work on the UI thread. Post may be called from any thread; each posted piece of work
// runs later on the UI thread, in the order posted. Every shell supplies one (the headless
// shell queues the work until the test drains it).
class UiThreadPoster {
 public:
  virtual ~UiThreadPoster() = default;
  virtual void Post(std::function<void()> work) = 0;
};

}  // namespace brontel::ui
