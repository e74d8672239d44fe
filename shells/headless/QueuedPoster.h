/** @file QueuedPoster.h: a UI-thread poster whose work waits in a queue until drained. */
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "ui/UiThreadPoster.h"

namespace brontel::headless {

// Post may be called from any thread; the test (standing in for the UI thread's message loop)
// runs the queued work with RunPending.
class QueuedPoster : public ui::UiThreadPoster {
 public:
  void Post(std::function<void()> work) override;

  // Runs queued work in the order posted, including work posted meanwhile, until the queue is
  // empty; returns how many pieces ran. A piece that throws is dropped and the exception
  // propagates (the rest stays queued).
  std::size_t RunPending();
  std::size_t Pending() const;

 private:
  mutable std::mutex mutex_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace brontel::headless
