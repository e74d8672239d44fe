#include "shells/headless/QueuedPoster.h"

namespace brontel::headless {

void QueuedPoster::Post(std::function<void()> work) {
  std::lock_guard lock(mutex_);
  queue_.push_back(std::move(work));
}

std::size_t QueuedPoster::RunPending() {
  std::size_t ran = 0;
  for (;;) {
    std::function<void()> work;
    {
      std::lock_guard lock(mutex_);
      if (queue_.empty())
        return ran;
      work = std::move(queue_.front());
      queue_.pop_front();
    }
    ++ran;
    if (work)
      work();  // outside the lock: work may post more work
  }
}

std::size_t QueuedPoster::Pending() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

}  // namespace brontel::headless
